#include "documents/forms/frmPrint.h"

#include "common/AppContext.h"
#include "common/Prompt.h"
#include "common/forms/Widgets.h"
#include "documents/Templates.h"

#include <QFileInfo>
#include <QTextEdit>
#include <QVBoxLayout>

frmPrint::frmPrint(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmPrint"));
    rtfPrintOut = Widgets::named(new QTextEdit(this), "rtfPrintOut");
    QFont times(QStringLiteral("Times New Roman"));
    times.setStyleHint(QFont::Serif);
    rtfPrintOut->document()->setDefaultFont(times);
    (new QVBoxLayout(this))->addWidget(rtfPrintOut);
    preview = PrintPreview::dialog(parent ? parent : this);
}

int frmPrint::PrintBlankForm(const QString& kind) {
    QString problem;
    if (!Templates::load(Templates::path(ctx_, kind), *rtfPrintOut->document(), &problem)) {
        ctx_.prompt->message(problem, QString(), Prompt::Icon::Warning);
        return 0;
    }
    if (!preview)
        return 0;
    return preview(*rtfPrintOut->document(), QFileInfo(Templates::path(ctx_, kind)).baseName());
}
