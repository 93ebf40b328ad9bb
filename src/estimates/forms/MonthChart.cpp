#include "estimates/forms/MonthChart.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QLegend>
#include <QLocale>
#include <QStackedBarSeries>
#include <QValueAxis>

namespace MonthChart {

QColor colourOf(int kind) {
    switch (kind) {
    case EstSummary::Working:
        return QColor(0x5b, 0x8d, 0xc9); // blue
    case EstSummary::Pending:
        return QColor(0xe8, 0xa3, 0x3d); // amber
    case EstSummary::Expired:
        return QColor(0x9a, 0x9a, 0x9a); // grey
    case EstSummary::Accepted:
        return QColor(0x4c, 0xa6, 0x5a); // green
    default:
        return QColor(0xcf, 0x5c, 0x5c); // red
    }
}

QChart* make(const EstSummary::Figures& f, const QColor& background, const QColor& text) {
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("Estimate value by month"));
    chart->setTitleBrush(text);
    chart->setBackgroundBrush(background);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setLabelColor(text);

    auto* series = new QStackedBarSeries;
    double highest = 0, lowest = 0;
    std::vector<double> up(f.months.size()), down(f.months.size());
    for (int k = 0; k < EstSummary::KindCount; ++k) {
        auto* set = new QBarSet(EstSummary::kindName(k));
        set->setColor(colourOf(k));
        set->setBorderColor(colourOf(k).darker(130));
        for (std::size_t m = 0; m < f.months.size(); ++m) {
            const double v = f.months[m].byKind[std::size_t(k)].total.roundedToCents().toDouble();
            *set << v;
            (v >= 0 ? up[m] : down[m]) += v;
        }
        series->append(set);
    }
    for (std::size_t m = 0; m < f.months.size(); ++m) {
        highest = std::max(highest, up[m]);
        lowest = std::min(lowest, down[m]);
    }
    chart->addSeries(series);

    QStringList names;
    for (const EstSummary::Month& m : f.months)
        names << EstSummary::monthName(m.first);
    auto* months = new QBarCategoryAxis;
    months->append(names);
    months->setLabelsColor(text);
    // More months than fit side by side are written upwards.
    if (names.size() > 12)
        months->setLabelsAngle(-90);
    chart->addAxis(months, Qt::AlignBottom);
    series->attachAxis(months);

    auto* amounts = new QValueAxis;
    amounts->setRange(lowest, highest > lowest ? highest : lowest + 1);
    amounts->applyNiceNumbers();
    amounts->setLabelFormat(QStringLiteral("%.0f"));
    amounts->setLabelsColor(text);
    amounts->setTitleText(QLocale().currencySymbol());
    amounts->setTitleBrush(text);
    chart->addAxis(amounts, Qt::AlignLeft);
    series->attachAxis(amounts);
    return chart;
}

} // namespace MonthChart
