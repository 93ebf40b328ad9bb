#include "estimates/forms/frmManageStatus.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Prompt.h"
#include "common/Text.h"
#include "common/TextSearch.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/SearchBox.h"
#include "common/forms/Widgets.h"
#include "estimates/forms/frmOwnerDetail.h"
#include "estimates/modEst.h"
#include "estimates/modManage.h"
#include "storage/Schema.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

using Widgets::indexed;
using Widgets::named;

namespace {
const QString kForm = QStringLiteral("Form frmManageStatus");
}

frmManageStatus::frmManageStatus(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmManageStatus"));
    setWindowTitle(QStringLiteral("Manage Estimate/Status"));
    resize(520, 420);

    // The list panel.
    frEstList = named(new QGroupBox(QStringLiteral("Double click item to edit")), "frEstList");
    cmbFilter = named(new QComboBox, "cmbFilter");
    auto* filterLabel = named(new QLabel(QStringLiteral("Filter List -->")), "Label2");
    filterLabel->setBuddy(cmbFilter);
    List1 = named(new QListWidget, "List1");
    List1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtSearch = SearchBox::make("txtSearch", QStringLiteral("Name, owner or address"));
    SearchBox::attach(txtSearch, List1);
    auto* searchLabel = named(new QLabel(QStringLiteral("&Find:")), "lblSearch");
    searchLabel->setBuddy(txtSearch);
    auto* top = new QHBoxLayout;
    top->addWidget(filterLabel);
    top->addWidget(cmbFilter);
    top->addSpacing(12);
    top->addWidget(searchLabel);
    top->addWidget(txtSearch, 1);
    auto* lv = new QVBoxLayout(frEstList);
    lv->addLayout(top);
    lv->addWidget(List1, 1);
    connect(cmbFilter, &QComboBox::activated, this, [this] { PopList(cmbFilter->currentText()); });
    connect(txtSearch, &QLineEdit::textChanged, this,
            [this] { PopList(cmbFilter->currentText()); });

    connect(List1, &QListWidget::itemActivated, this, &frmManageStatus::List1_DblClick);

    // The edit panel.
    Frame2 = named(new QGroupBox(QStringLiteral("Estimate Status")), "Frame2");
    auto* g = new QGridLayout(Frame2);
    const char* words[] = {"Working", "Pending", "Accepted", "Rejected"};
    auto* statusRow = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        optEstStatus[i] =
            named(new QRadioButton(QString::fromLatin1(words[i])), indexed("optEstStatus", i));
        statusRow->addWidget(optEstStatus[i]);
    }
    optEstStatus[0]->setChecked(true);
    statusRow->addStretch();
    g->addLayout(statusRow, 0, 0, 1, 3);
    Label5 = named(new QLabel, "Label5");
    QFont bold = Label5->font();
    bold.setBold(true);
    Label5->setFont(bold);
    Label6 = named(new QLabel, "Label6");
    Label8 = named(new QLabel, "Label8");
    g->addWidget(Label5, 1, 0, 1, 3);
    g->addWidget(Label6, 2, 0, 1, 3);
    auto* idRow = new QHBoxLayout;
    idRow->addWidget(named(new QLabel(QStringLiteral("ID:")), "Label1"));
    idRow->addWidget(Label8);
    idRow->addStretch();
    g->addLayout(idRow, 3, 0, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Date:")), 4, 0);
    g->addWidget(new QLabel(QStringLiteral("Type:")), 4, 1);
    g->addWidget(new QLabel(QStringLiteral("Length:")), 4, 2);
    txtDate = named(new QLineEdit, "txtDate");
    txtDate->setPlaceholderText(modManage::showDate(QDate::currentDate()));
    Combo1 = named(new QComboBox, "Combo1");
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setMinimumWidth(200);
    txtLength = named(new QLineEdit, "txtLength");
    txtLength->setMaximumWidth(80);
    for (QWidget* w : {static_cast<QWidget*>(txtDate), static_cast<QWidget*>(Combo1),
                       static_cast<QWidget*>(txtLength)})
        InputHelpers::focusColour(w);
    g->addWidget(txtDate, 5, 0);
    g->addWidget(Combo1, 5, 1);
    g->addWidget(txtLength, 5, 2);
    connect(Combo1->lineEdit(), &QLineEdit::editingFinished, this, [this] { Combo1_Validate(); });

    cmdUpdateStatus = named(new QPushButton(QStringLiteral("Update")), "cmdUpdateStatus");
    cmdCancelUpdate = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancelUpdate");
    cmdDeleteStatus =
        named(new QPushButton(QStringLiteral("Delete this estimate")), "cmdDeleteStatus");
    cmdEditOwner = named(new QPushButton(QStringLiteral("Edit Owner Info")), "cmdEditOwner");
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdUpdateStatus, cmdCancelUpdate, cmdDeleteStatus, cmdEditOwner})
        buttons->addWidget(b);
    g->addLayout(buttons, 6, 0, 1, 3);
    g->setRowStretch(7, 1);
    connect(cmdUpdateStatus, &QPushButton::clicked, this, &frmManageStatus::cmdUpdateStatus_Click);
    connect(cmdCancelUpdate, &QPushButton::clicked, this, &frmManageStatus::cmdCancelUpdate_Click);
    connect(cmdDeleteStatus, &QPushButton::clicked, this, &frmManageStatus::cmdDeleteStatus_Click);
    connect(cmdEditOwner, &QPushButton::clicked, this, &frmManageStatus::cmdEditOwner_Click);

    panels_ = new QStackedWidget;
    panels_->addWidget(frEstList);
    panels_->addWidget(Frame2);
    cmdClose = named(new QPushButton(QStringLiteral("Close")), "cmdClose");
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(cmdClose);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(panels_, 1);
    outer->addLayout(bottom);

    PopFilter();
    List1->setFocus();
}

frmManageStatus::~frmManageStatus() {
    ctx_.EstID = 0;
}

bool frmManageStatus::editing() const {
    return panels_->currentWidget() == Frame2;
}

void frmManageStatus::showEditPanel(bool edit) {
    panels_->setCurrentWidget(edit ? Frame2 : frEstList);
}

void frmManageStatus::PopFilter() {
    cmbFilter->clear();
    cmbFilter->addItems(modManage::filterWords());
    // Every estimate at first, so that a saved one is found whatever its status.
    cmbFilter->setCurrentIndex(cmbFilter->findText(QStringLiteral("All")));
    PopList(cmbFilter->currentText());
}

void frmManageStatus::PopList(const QString& filter) {
    List1->clear();
    Guard::run(*ctx_.prompt, QStringLiteral("PopList"), kForm, [&] {
        const QStringList words = TextSearch::words(txtSearch->text());
        for (const EstList::Line& line : modManage::PopList(ctx_, filter, words)) {
            auto* item = new QListWidgetItem(line.text, List1);
            item->setData(Qt::UserRole, line.id);
        }
    });
}

void frmManageStatus::List1_DblClick() {
    QListWidgetItem* item = List1->currentItem();
    const int id = item ? item->data(Qt::UserRole).toInt() : 0;
    if (id < 1)
        return;
    PopForm(id);
    showEditPanel(true);
}

void frmManageStatus::editEstimate(std::int32_t id) {
    if (id < 1)
        return;
    PopForm(id);
    showEditPanel(true);
}

void frmManageStatus::PopForm(std::int32_t id) {
    ctx_.EstID = id;
    Guard::run(*ctx_.prompt, QStringLiteral("PopForm"), kForm, [&] {
        const auto r = modManage::load(ctx_, id);
        if (!r)
            return;
        Label5->setText(r->name);
        Label6->setText(r->address);
        Label8->setText(QString::number(id));
        txtDate->setText(modManage::showDate(r->date));
        txtLength->setText(QString::number(r->length));
        // Every type once, with the estimate's own in the box.
        Combo1->clear();
        Combo1->addItems(modEst::estimateTypes(ctx_));
        Combo1->setEditText(r->type);
        for (QRadioButton* b : optEstStatus)
            if (b->text() == r->status)
                b->setChecked(true);
    });
}

QString frmManageStatus::EstStatusIs() const {
    for (QRadioButton* b : optEstStatus)
        if (b->isChecked())
            return b->text();
    return QString();
}

void frmManageStatus::ResetEditPanel() {
    for (QLabel* l : {Label5, Label6, Label8})
        l->clear();
    txtDate->clear();
    txtLength->clear();
    Combo1->setEditText(QString());
    PopFilter();
}

bool frmManageStatus::Combo1_Validate() {
    if (Text::characters(Combo1->currentText()) <= Schema::Len::EstType)
        return true;
    ctx_.prompt->message(QStringLiteral("This field cannot be longer than 25 characters."));
    Combo1->setEditText(QString());
    Combo1->setFocus();
    return false;
}

void frmManageStatus::cmdUpdateStatus_Click() {
    if (!Combo1_Validate())
        return;
    modManage::Record r;
    r.date = modManage::parseDate(txtDate->text());
    if (!r.date.isValid()) {
        ctx_.prompt->message(QStringLiteral("This is not a valid date. Please enter it as %1.")
                                 .arg(modManage::showDate(QDate::currentDate())));
        txtDate->setFocus();
        txtDate->selectAll();
        return;
    }
    bool ok = false;
    r.length = txtLength->text().trimmed().toInt(&ok);
    if (!ok || r.length < 0) {
        ctx_.prompt->message(
            QStringLiteral("The length must be a whole number of days, 0 or more."));
        txtLength->setFocus();
        txtLength->selectAll();
        return;
    }
    r.status = EstStatusIs();
    r.type = Combo1->currentText().trimmed();
    modManage::update(ctx_, Label8->text().toInt(), r);
    ResetEditPanel();
    showEditPanel(false);
}

void frmManageStatus::cmdCancelUpdate_Click() {
    showEditPanel(false);
}

void frmManageStatus::cmdDeleteStatus_Click() {
    const auto a =
        ctx_.prompt->ask(QStringLiteral("Are you sure you want\nto delete this estimate?"),
                         QStringLiteral("Confirm delete."), Prompt::Buttons::OkCancel,
                         Prompt::Icon::Critical, Prompt::Answer::Cancel);
    if (a != Prompt::Answer::Ok)
        return;
    Guard::run(*ctx_.prompt, QStringLiteral("cmdDeleteStatus_Click"), kForm, [&] {
        const modManage::DeleteResult d = modManage::remove(ctx_, Label8->text().toInt());
        if (d.rowDeleted && !d.folderLeft.isEmpty())
            ctx_.prompt->message(QStringLiteral("The estimate was deleted, but its folder\n%1\n"
                                                "could not be deleted.")
                                     .arg(QDir::toNativeSeparators(d.folderLeft)));
    });
    ResetEditPanel();
    showEditPanel(false);
    accept();
}

void frmManageStatus::cmdEditOwner_Click() {
    {
        frmOwnerDetail owner(ctx_, Label8->text().toInt(), this);
        owner.exec();
    }
    accept();
}
