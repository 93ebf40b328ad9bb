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
    chart->setBackgroundRoundness(0);
    chart->setDropShadowEnabled(false);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setLabelColor(text);

    // The bars' height range: the positive parts stack up, credits down.
    double highest = 0, lowest = 0;
    for (const EstSummary::Month& m : f.months) {
        double up = 0, down = 0;
        for (const EstSummary::Tally& t : m.byKind)
            (t.total.raw() >= 0 ? up : down) += t.total.toDouble();
        highest = std::max(highest, up);
        lowest = std::min(lowest, down);
    }
    // Large amounts in thousands, so that the axis labels stay short.
    const double unit = std::max(highest, -lowest) >= 100000 ? 1000 : 1;

    auto* series = new QStackedBarSeries;
    for (int k = 0; k < EstSummary::KindCount; ++k) {
        auto* set = new QBarSet(EstSummary::kindName(k));
        set->setColor(colourOf(k));
        set->setBorderColor(colourOf(k).darker(130));
        for (const EstSummary::Month& m : f.months)
            *set << m.byKind[std::size_t(k)].total.toDouble() / unit;
        series->append(set);
    }
    chart->addSeries(series);

    // Within one year the months are named alone and the year titles the axis.
    const bool oneYear =
        !f.months.empty() && f.months.front().first.year() == f.months.back().first.year();
    QStringList names;
    for (const EstSummary::Month& m : f.months)
        names << (oneYear ? QLocale().toString(m.first, QStringLiteral("MMM"))
                          : QLocale().toString(m.first, QStringLiteral("MMM yy")));
    auto* months = new QBarCategoryAxis;
    months->append(names);
    months->setLabelsColor(text);
    if (oneYear) {
        months->setTitleText(QString::number(f.months.front().first.year()));
        months->setTitleBrush(text);
    }
    // More months than fit side by side are written upwards.
    if (names.size() > 12)
        months->setLabelsAngle(-90);
    chart->addAxis(months, Qt::AlignBottom);
    series->attachAxis(months);

    auto* amounts = new QValueAxis;
    // At least ten units high: the labels are whole numbers, so a lower axis (an empty period
    // spans 0 to 1) would repeat the same label at several heights.
    amounts->setRange(lowest / unit, std::max(highest / unit, lowest / unit + 10));
    amounts->applyNiceNumbers();
    amounts->setLabelFormat(QStringLiteral("%.0f"));
    amounts->setLabelsColor(text);
    const QString currency = QLocale().currencySymbol();
    amounts->setTitleText(unit > 1 ? QStringLiteral("Thousands (%1)").arg(currency) : currency);
    amounts->setTitleBrush(text);
    // Grid lines as a faint trace of the text colour, on a light palette as on a dark one.
    QColor grid = text;
    grid.setAlpha(50);
    for (QAbstractAxis* axis :
         {static_cast<QAbstractAxis*>(months), static_cast<QAbstractAxis*>(amounts)}) {
        axis->setGridLineColor(grid);
        axis->setLinePenColor(grid);
    }
    chart->addAxis(amounts, Qt::AlignLeft);
    series->attachAxis(amounts);
    return chart;
}

} // namespace MonthChart
