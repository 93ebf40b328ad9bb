#include "documents/forms/frmPrint.h"

#include "common/AppContext.h"
#include "common/Prompt.h"
#include "common/forms/Widgets.h"
#include "documents/PrintRichText.h"
#include "documents/Templates.h"

#include <QAbstractPrintDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextEdit>
#include <QVBoxLayout>

frmPrint::frmPrint(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmPrint"));
    rtfPrintOut = Widgets::named(new QTextEdit(this), "rtfPrintOut");
    QFont times(QStringLiteral("Times New Roman"));
    times.setStyleHint(QFont::Serif);
    rtfPrintOut->document()->setDefaultFont(times);
    (new QVBoxLayout(this))->addWidget(rtfPrintOut);
    printerDialog = [this](QPrinter& printer) {
        QPrintDialog dlg(&printer, this);
        dlg.setOption(QAbstractPrintDialog::PrintPageRange, false);
        return dlg.exec() == QDialog::Accepted;
    };
}

int frmPrint::PrintBlankForm(const QString& kind) {
    QString problem;
    if (!Templates::load(Templates::path(ctx_, kind), *rtfPrintOut->document(), &problem)) {
        ctx_.prompt->message(problem, QString(), Prompt::Icon::Warning);
        return 0;
    }
    QPrinter printer(QPrinter::HighResolution);
    if (!printerDialog || !printerDialog(printer))
        return 0;
    return PrintRichText(*rtfPrintOut->document(), printer, 1440, 1440, 1440, 1440);
}
