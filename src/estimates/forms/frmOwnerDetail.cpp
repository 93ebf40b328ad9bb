#include "estimates/forms/frmOwnerDetail.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Prompt.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"
#include "estimates/forms/OwnerTab.h"
#include "estimates/modManage.h"
#include "storage/Schema.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using Widgets::indexed;
using Widgets::named;

frmOwnerDetail::frmOwnerDetail(AppContext& ctx, std::int32_t estID, QWidget* parent)
    : QDialog(parent), ctx_(ctx), estID_(estID) {
    setObjectName(QStringLiteral("frmOwnerDetail"));
    setWindowTitle(QStringLiteral("Owner Detail"));
    auto* form = new QFormLayout;
    txtEstName = named(new QLineEdit, "txtEstName");
    txtEstName->setReadOnly(true);
    form->addRow(QStringLiteral("Estimate Name:"), txtEstName);
    const auto& captions = OwnerTab::ownerCaptions();
    const auto& lengths = OwnerTab::ownerLengths();
    for (int i = 0; i < 7; ++i) {
        txtName[i] = named(new QLineEdit, indexed("txtName", i));
        InputHelpers::characterLimit(txtName[i], lengths[i]);
        txtName[i]->setMinimumWidth(i < 4 ? 320 : 140);
        InputHelpers::focusColour(txtName[i]);
        form->addRow(QString::fromLatin1(captions[i]), txtName[i]);
    }
    cmdUpdate = named(new QPushButton(QStringLiteral("Update")), "cmdUpdate");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    connect(cmdUpdate, &QPushButton::clicked, this, &frmOwnerDetail::cmdUpdate_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(form);
    outer->addLayout(Widgets::buttonRow({cmdUpdate, cmdCancel}));

    const bool loaded =
        Guard::run(*ctx_.prompt, QStringLiteral("Form_Load"), Guard::form("frmOwnerDetail"), [&] {
            const modManage::Owner o = modManage::loadOwner(ctx_, estID_);
            txtEstName->setText(o.estName);
            for (int i = 0; i < 7; ++i)
                txtName[i]->setText(o.name[i]);
        });
    cmdUpdate->setEnabled(loaded);
}

void frmOwnerDetail::cmdUpdate_Click() {
    // The same fields are required as when the estimate was started.
    for (int i = 0; i <= 4; ++i) {
        if (txtName[i]->text().trimmed().isEmpty()) {
            ctx_.prompt->message(QStringLiteral("This field may not be blank."));
            txtName[i]->setFocus();
            return;
        }
    }
    std::array<QString, 7> name;
    for (int i = 0; i < 7; ++i)
        name[i] = txtName[i]->text();
    if (!Guard::run(*ctx_.prompt, QStringLiteral("cmdUpdate_Click"), Guard::form("frmOwnerDetail"),
                    [&] { modManage::updateOwner(ctx_, estID_, name); }))
        return;
    accept();
}
