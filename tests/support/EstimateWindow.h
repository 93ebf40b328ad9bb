#pragma once

#include "TestContext.h"
#include "UiTest.h"

#include "app/frmCorvanel.h"
#include "common/forms/GridBinding.h"
#include "estimates/forms/OwnerTab.h"
#include "estimates/forms/frmOpenEst.h"
#include "pricing/forms/LineItemsTab.h"
#include "pricing/forms/frmAddSection.h"
#include "pricing/forms/frmPickItem.h"
#include "pricing/forms/frmSortSections.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>

// Drives the main window as a user does: menus, buttons, the picker and the other dialogs.
namespace EstimateWindow {

// Estimate → New, the owner filled in, Start.
inline void startNew(frmCorvanel& w, const QString& last = QStringLiteral("O'Brien")) {
    w.mnuEstNew->trigger();
    const QStringList v = {"Zoë", last, "12 Elm St", "Anytown, MT 54321", "555-123-4567", "", ""};
    for (int i = 0; i < 7; ++i)
        w.owner->txtName[i]->setText(v[i]);
    w.owner->cmbEstType->setEditText(QStringLiteral("Reroof"));
    w.owner->cmdStartEst->click();
}

// In an open picker: the catalogue item `itemId` of tab `tab` double-clicked into the form.
inline bool chooseItem(frmPickItem* p, int tab, int itemId) {
    p->SSTab1->setCurrentIndex(tab);
    QTableView* grid = p->PickGrid[tab];
    for (int r = 0; r < GridBinding::rowCount(grid); ++r)
        if (GridBinding::cell(grid, r, 0).toInt() == itemId) {
            grid->selectRow(r);
            p->PickGrid_DblClick(tab);
            return true;
        }
    return false;
}

// In an open picker: the section named `section`, made through "Add" when the estimate has none
// of that name.
inline void chooseSection(frmPickItem* p, const QString& section) {
    int at = p->cmbSection->findText(section);
    if (at < 0) {
        UiTest::whenModal([section](QWidget* d) {
            auto* s = qobject_cast<frmAddSection*>(d);
            QVERIFY(s);
            s->cmbSection->setEditText(section);
            s->cmdSave_Click();
        });
        const int add = p->cmbSection->findText(QStringLiteral("Add"));
        p->cmbSection->setCurrentIndex(add);
        p->cmbSection_Click(add);
        at = p->cmbSection->findText(section);
    }
    p->cmbSection->setCurrentIndex(at);
}

// Add Item: material `itemId` at `qty` and `price` (typed as given) into `section`. The picker
// is cancelled when it refuses the line.
inline void pickLine(frmCorvanel& w, int itemId, const QString& qty, const QString& price,
                     const QString& section) {
    UiTest::whenModal([=](QWidget* d) {
        auto* p = qobject_cast<frmPickItem*>(d);
        QVERIFY(p);
        QVERIFY(chooseItem(p, 0, itemId));
        p->txtItemQuan->setText(qty);
        p->txtItemPrice->setText(price);
        chooseSection(p, section);
        p->cmdSelect_Click();
        if (p->isVisible())
            p->reject();
    });
    w.lines->cmdAddNewLine->click();
}

// The row of the grid that shows `name`; -1 when none does.
inline int rowOf(frmCorvanel& w, const QString& name) {
    QTableView* g = w.lines->grdDataGrid;
    for (int r = 0; r < GridBinding::rowCount(g); ++r)
        if (GridBinding::cell(g, r, 1).toString() == name)
            return r;
    return -1;
}

// Every row of the grid as it shows: name, quantity, line total and sub total, joined by "|".
inline QStringList gridTexts(frmCorvanel& w) {
    QTableView* g = w.lines->grdDataGrid;
    QStringList rows;
    const int n = GridBinding::rowCount(g);
    for (int r = 0; r < n; ++r) {
        QStringList cells;
        for (int c : {1, 3, 6, 7})
            cells << g->model()->index(r, c).data().toString();
        rows << cells.join(u'|');
    }
    return rows;
}

// Estimate → Save Estimate (Save & Close), answering `complete` to whether it is complete.
inline void saveAndClose(frmCorvanel& w, ScriptedPrompt& prompt, bool complete = false) {
    prompt.answer(complete ? Prompt::Answer::Yes : Prompt::Answer::No);
    w.mnuEstSave->trigger();
}

// Estimate → Close, answering the save question with `answer`.
inline void close(frmCorvanel& w, ScriptedPrompt& prompt, Prompt::Answer answer) {
    prompt.answer(answer);
    w.mnuEstClose->trigger();
}

// Estimate → Open of estimate `id`, from whichever list shows it.
inline void open(frmCorvanel& w, int id) {
    UiTest::whenModal([id](QWidget* dlg) {
        auto* d = qobject_cast<frmOpenEst*>(dlg);
        QVERIFY(d);
        for (int list = 0; list < int(d->lstEstList.size()); ++list) {
            QListWidget* l = d->lstEstList[list];
            for (int r = 0; r < l->count(); ++r)
                if (l->item(r)->data(Qt::UserRole).toInt() == id) {
                    d->SSTab1->setCurrentIndex(list);
                    l->setCurrentRow(r);
                    d->lstEstList_DblClick(list);
                    return;
                }
        }
        d->reject();
    });
    w.mnuEstOpen->trigger();
}

// The section order dialog, committed without moving anything.
inline void commitOrderUnchanged(frmCorvanel& w) {
    UiTest::whenModal([](QWidget* d) {
        auto* f = qobject_cast<frmSortSections*>(d);
        QVERIFY(f);
        f->cmdCommit_Click();
    });
    w.lines->cmdOrder->click();
}

// A double click with the mouse on row `row` of `view` (the window must be shown), as the
// system sends it: press, release, double click, release.
inline void doubleClickRow(QTableView* view, int row) {
    // Column 1, or the first one shown when the grid hides its keys.
    int column = 1;
    for (int c = 0; view->isColumnHidden(column) && c < view->model()->columnCount(); ++c)
        column = c;
    const QPoint at = view->visualRect(view->model()->index(row, column)).center();
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
}

} // namespace EstimateWindow
