#include "app/frmCorvanel.h"

#include "common/AppContext.h"
#include "documents/forms/OutputTab.h"
#include "documents/forms/frmPrint.h"
#include "documents/forms/frmPrintForms.h"
#include "documents/modDocs.h"
#include "takeoff/forms/RoofTab.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

namespace {

// Reports → Print Forms: pick a blank form and print it. The window's close box counts as Cancel.
void mnuReportForms_Click(AppContext& ctx, QWidget* parent) {
    frmPrintForms dlg(ctx, parent);
    dlg.exec();
    const frmPrintForms::Result r = dlg.result();
    if (r.Cancel)
        return;
    const QString kind = frmPrintForms::kindOf(r.FormCode);
    if (kind.isEmpty())
        return;
    frmPrint printer(ctx, parent);
    printer.hide();
    printer.PrintBlankForm(kind);
}

} // namespace

// Connects the documents of the Output tab and the blank forms to their handlers.
void frmCorvanel::wireDocuments() {
    for (int i = 0; i < 5; ++i)
        connect(cmdPrint[i], &QPushButton::clicked, this, [this, i] { cmdPrint_Click(i); });
    connect(mnuReportForms, &QAction::triggered, this,
            [this] { mnuReportForms_Click(ctx_, this); });
}

void frmCorvanel::cmdPrint_Click(int index) {
    if (index < 0 || index > 4)
        return;
    if (EstStatus == QLatin1String("Working"))
        EstStatus = QStringLiteral("Saving");
    SaveEst();

    modDocs::PageInputs in;
    for (int i = 0; i < 3; ++i)
        in.roofTotals[i] = roof->txtRoof[i]->text();
    // The estimate stays open after its documents are made, so its lines stay in the working
    // tables: emptying them would leave the grid and the totals showing nothing of what is
    // stored, and a line added afterwards would be all the screen knew of the estimate.
    in.emptyWorkingTables = false;

    static const char* const kinds[] = {"detail", "proposal", "contract", "roof"};
    auto build = [&](int box) {
        modDocs::BuildPage(ctx_, QString::fromLatin1(kinds[box]), *output->rtfText[box]->document(),
                           in);
    };
    if (index == 0) {
        for (QTextEdit* box : output->rtfText)
            box->clear();
        for (int box : {0, 3, 1, 2})
            build(box);
        for (QPushButton* b : cmdPrint)
            b->setEnabled(false);
    } else {
        output->rtfText[index - 1]->clear();
        build(index - 1);
        cmdPrint[index]->setEnabled(false);
    }

    if (EstStatus == QLatin1String("Saving"))
        EstStatus = QStringLiteral("Working");
}
