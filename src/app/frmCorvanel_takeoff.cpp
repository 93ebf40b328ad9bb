#include "app/frmCorvanel.h"

#include "common/AppContext.h"
#include "common/ErrorMessage.h"
#include "common/Numbers.h"
#include "common/Prompt.h"
#include "common/forms/GridBinding.h"
#include "common/forms/InputHelpers.h"
#include "storage/modData.h"
#include "takeoff/RoofMath.h"
#include "takeoff/forms/RoofTab.h"
#include "takeoff/forms/frmAreas.h"
#include "takeoff/forms/frmLineal.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

namespace {

const QString kForm = QStringLiteral("Form frmCorvanel");

// A change of the take-off: an estimate in work now has unsaved changes (a roof figured
// without an estimate has nothing to save).
void takeoffChanged(frmCorvanel& w) {
    if (w.estimateStarted())
        w.markChanged();
}

void report(frmCorvanel& w, const ProcedureError& e, const char* procedure) {
    ErrorMessage::show(*w.ctx().prompt, e.number, e.description, QString::fromLatin1(procedure),
                       kForm);
}

// The working id and stored id of the selected row of a take-off grid; {0, 0} with none.
std::pair<qlonglong, qlonglong> selectedRow(QTableView* grid) {
    const int row = GridBinding::currentRow(grid);
    if (row < 0)
        return {0, 0};
    return {GridBinding::cell(grid, row, 0).toLongLong(),
            GridBinding::cell(grid, row, 1).toLongLong()};
}

void refreshAreas(frmCorvanel& w) {
    try {
        w.roof->PopAreaGrid();
        w.roof->TotalArea();
    } catch (const ProcedureError& e) {
        report(w, e, "PopAreaGrid");
    }
}

void refreshLineals(frmCorvanel& w) {
    try {
        w.roof->PopLinealGrid();
        w.roof->TotalOther();
    } catch (const ProcedureError& e) {
        report(w, e, "PopLinealGrid");
    }
}

void cmbPitch_Click(frmCorvanel& w) {
    AppContext& ctx = w.ctx();
    RoofTab& r = *w.roof;
    if (r.cmbPitch->currentText().isEmpty())
        return;
    if (Numbers::value(r.txtArea[0]->text()) == 0) {
        if (!ctx.Loading) {
            ctx.prompt->message(QStringLiteral("Please enter a width value."));
            r.txtArea[0]->setFocus();
            r.PopPitchCombo();
        }
    } else if (Numbers::value(r.txtArea[1]->text()) == 0) {
        ctx.prompt->message(QStringLiteral("Please enter a height value."));
        r.txtArea[1]->setFocus();
        if (!ctx.Loading)
            r.PopPitchCombo();
    }
}

void cmdPitchFig_Click(frmCorvanel& w) {
    AppContext& ctx = w.ctx();
    RoofTab& r = *w.roof;
    if (r.cmbPitch->currentText().isEmpty()) {
        ctx.prompt->message(QStringLiteral("Please enter measurements and select pitch."));
        return;
    }
    for (QLineEdit* box : r.txtArea) {
        if (!InputHelpers::requireNumber(box, ctx))
            return;
        const double v = Numbers::value(box->text());
        if (v < 0 || v > RoofMath::MaxMeasure) {
            ctx.prompt->message(QStringLiteral("A measurement must be from 0 to %1.")
                                    .arg(QLocale().toString(RoofMath::MaxMeasure, 'f', 0)));
            box->setFocus();
            box->selectAll();
            return;
        }
    }
    const double width = Numbers::value(r.txtArea[0]->text());
    const double height = Numbers::value(r.txtArea[1]->text());
    const int pitch = r.cmbPitch->currentText().toInt();
    const std::int32_t area = RoofMath::quickFigure(width, height, pitch);
    r.txtRoof[0]->setText(QString::number(area));
    // The total follows the figure at once, as it follows every other change of the take-off.
    r.RoofTotal();
    try {
        const QVariantList values = {pitch, Numbers::toLong(width), Numbers::toLong(height), area};
        const int rows =
            modData::scalar(ctx, ctx.TempDBConn, QStringLiteral("select count(*) from tempareas"))
                .toInt();
        if (rows == 0) {
            modData::exec(
                ctx, ctx.TempDBConn,
                QStringLiteral("insert into tempareas(pitch,width1,height,total) values(?,?,?,?)"),
                values);
        } else {
            const QVariant id = modData::scalar(ctx, ctx.TempDBConn,
                                                QStringLiteral("select max(id) from tempareas"));
            modData::exec(
                ctx, ctx.TempDBConn,
                QStringLiteral(
                    "update tempareas set pitch=?, width1=?, height=?, total=? where id=?"),
                values + QVariantList{id});
        }
    } catch (const ProcedureError& e) {
        report(w, e, "cmdPitchFig_Click");
    }
    // A changed figure is a changed estimate, or it would be lost on closing without a question.
    takeoffChanged(w);
}

void optStyle_Click(frmCorvanel& w, int index) {
    AppContext& ctx = w.ctx();
    RoofTab& r = *w.roof;
    if (ctx.Loading)
        return;
    if (Numbers::value(r.txtRoof[0]->text()) != 0) {
        const auto a = ctx.prompt->ask(
            QStringLiteral("Changing this view clears the present roof area "
                           "total.  Do you wish to continue?"),
            QString(), Prompt::Buttons::YesNo, Prompt::Icon::Warning, Prompt::Answer::No);
        if (a != Prompt::Answer::Yes) {
            ctx.Loading = true;
            r.optStyle[index == 1 ? 0 : 1]->setChecked(true);
            ctx.Loading = false;
            return;
        }
        // Saved areas go from the estimate at once, as a delete of each would.
        try {
            if (w.estimateStarted())
                modData::exec(ctx, ctx.EstConn, QStringLiteral("delete from areas"));
            modData::exec(ctx, ctx.TempDBConn, QStringLiteral("DELETE from tempareas"));
        } catch (const ProcedureError& e) {
            report(w, e, "optStyle_Click");
        }
        ctx.Loading = true;
        r.txtRoof[0]->setText(QStringLiteral("0"));
        r.txtArea[0]->setText(QStringLiteral("0"));
        r.txtArea[1]->setText(QStringLiteral("0"));
        r.cmbPitch->setCurrentIndex(0);
        ctx.Loading = false;
        refreshAreas(w);
        r.RoofTotal();
        takeoffChanged(w);
    }
    r.showTotalView(index == 1);
    if (index == 1)
        r.txtArea[0]->setFocus();
}

void cmdAddArea_Click(frmCorvanel& w) {
    AppContext& ctx = w.ctx();
    frmAreas dialog(ctx, 0, &w);
    if (dialog.exec() == QDialog::Accepted) {
        const frmAreas::Result& a = dialog.result();
        modData::ActionQuery(
            ctx,
            QStringLiteral("insert into TempAreas(AreaID,Pitch,Shape,Width1,Width2,"
                           "Height,Total) values(0,0,?,?,?,?,?)"),
            {a.shape, a.width1, a.width2, a.height, a.total}, ctx.TempDBConn);
        refreshAreas(w);
    }
    takeoffChanged(w);
}

void cmdEditArea_Click(frmCorvanel& w) {
    AppContext& ctx = w.ctx();
    const auto [id, stored] = selectedRow(w.roof->dgAreas);
    if (w.roof->AreaCount == 0 || id == 0)
        return;
    frmAreas dialog(ctx, std::int32_t(id), &w);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const frmAreas::Result& a = dialog.result();
    modData::ActionQuery(
        ctx,
        QStringLiteral("update tempareas set shape=?, pitch=0, width1=?, width2=?, "
                       "height=?, total=? where id=?"),
        {a.shape, a.width1, a.width2, a.height, a.total, id}, ctx.TempDBConn);
    refreshAreas(w);
    takeoffChanged(w);
}

void cmdDeleteArea_Click(frmCorvanel& w) {
    AppContext& ctx = w.ctx();
    const auto [id, stored] = selectedRow(w.roof->dgAreas);
    if (w.roof->AreaCount == 0 || id == 0)
        return;
    const auto a = ctx.prompt->ask(QStringLiteral("Are you sure you want to delete this area?"),
                                   QStringLiteral("Confirm delete."), Prompt::Buttons::YesNo,
                                   Prompt::Icon::Warning, Prompt::Answer::No);
    if (a == Prompt::Answer::Yes) {
        if (stored != 0 && !ctx.EstConn.isEmpty())
            modData::ActionQuery(ctx, QStringLiteral("delete from areas where id=?"), {stored},
                                 ctx.EstConn);
        modData::ActionQuery(ctx, QStringLiteral("delete from tempareas where id=?"), {id},
                             ctx.TempDBConn);
        refreshAreas(w);
    }
    takeoffChanged(w);
}

double roofArea(frmCorvanel& w) {
    return Numbers::value(w.roof->txtRoof[0]->text());
}

void cmdAddLineal_Click(frmCorvanel& w) {
    AppContext& ctx = w.ctx();
    frmLineal dialog(ctx, 0, roofArea(w), &w);
    if (dialog.exec() == QDialog::Accepted) {
        const frmLineal::Result& l = dialog.result();
        modData::ActionQuery(
            ctx,
            QStringLiteral("Insert into templineal(linealid,type,name,length,total) "
                           "values(0,?,?,?,?)"),
            {l.type, l.name, l.length, l.total}, ctx.TempDBConn);
        refreshLineals(w);
    }
    takeoffChanged(w);
}

void cmdEditLineal_Click(frmCorvanel& w) {
    AppContext& ctx = w.ctx();
    const auto [id, stored] = selectedRow(w.roof->dgLineal);
    if (w.roof->LinealCount == 0 || id == 0)
        return;
    frmLineal dialog(ctx, std::int32_t(id), roofArea(w), &w);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const frmLineal::Result& l = dialog.result();
    modData::ActionQuery(
        ctx, QStringLiteral("update templineal set name=?, type=?, length=?, total=? where id=?"),
        {l.name, l.type, l.length, l.total, id}, ctx.TempDBConn);
    refreshLineals(w);
    takeoffChanged(w);
}

void cmdDeleteLineal_Click(frmCorvanel& w) {
    AppContext& ctx = w.ctx();
    const auto [id, stored] = selectedRow(w.roof->dgLineal);
    if (w.roof->LinealCount == 0 || id == 0)
        return;
    const auto a = ctx.prompt->ask(QStringLiteral("Are you sure you want to delete this item?"),
                                   QStringLiteral("Confirm delete."), Prompt::Buttons::YesNo,
                                   Prompt::Icon::Warning, Prompt::Answer::No);
    if (a == Prompt::Answer::Yes) {
        if (stored != 0 && !ctx.EstConn.isEmpty())
            modData::ActionQuery(ctx, QStringLiteral("delete from lineal where id=?"), {stored},
                                 ctx.EstConn);
        modData::ActionQuery(ctx, QStringLiteral("delete from templineal where id=?"), {id},
                             ctx.TempDBConn);
        refreshLineals(w);
    }
    takeoffChanged(w);
}

} // namespace

// Connects the roof take-off tab to its handlers.
void frmCorvanel::wireTakeoff() {
    RoofTab* r = roof;
    connect(r->cmbPitch, &QComboBox::activated, this, [this] { cmbPitch_Click(*this); });
    connect(r->cmdPitchFig, &QPushButton::clicked, this, [this] { cmdPitchFig_Click(*this); });
    for (int i = 0; i < 2; ++i)
        connect(r->optStyle[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optStyle_Click(*this, i);
        });
    connect(r->cmdAddArea, &QPushButton::clicked, this, [this] { cmdAddArea_Click(*this); });
    connect(r->cmdEditArea, &QPushButton::clicked, this, [this] { cmdEditArea_Click(*this); });
    connect(r->cmdDeleteArea, &QPushButton::clicked, this, [this] { cmdDeleteArea_Click(*this); });
    connect(r->cmdAddLineal, &QPushButton::clicked, this, [this] { cmdAddLineal_Click(*this); });
    connect(r->cmdEditLineal, &QPushButton::clicked, this, [this] { cmdEditLineal_Click(*this); });
    connect(r->cmdDeleteLineal, &QPushButton::clicked, this,
            [this] { cmdDeleteLineal_Click(*this); });
    connect(r->dgAreas, &QTableView::doubleClicked, this, [this] { cmdEditArea_Click(*this); });
    connect(r->dgLineal, &QTableView::doubleClicked, this, [this] { cmdEditLineal_Click(*this); });
}
