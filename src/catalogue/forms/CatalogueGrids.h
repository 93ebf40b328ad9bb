#pragma once

#include "catalogue/CatalogueList.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

struct AppContext;
class CatalogueModel;
class QComboBox;
class QLineEdit;
class QTabWidget;
class QTableView;

// The six grids of the catalogue browser and of the picker, one per tab (Material, Labor,
// SubCon, Equip, Fee, then the unit items), all showing one catalogue read when the window
// opens or after it changed. Each tab is narrowed by a category and a search.
class CatalogueGrids {
public:
    static constexpr int Tabs = 6;
    static constexpr int UnitTab = 5;

    CatalogueGrids(AppContext& ctx, const std::array<QTableView*, Tabs>& grids);

    // The cost type of a tab ("Unit_Item" for the last).
    static QString typeOf(int tab);
    // The tab of a cost type; -1 for none.
    static int tabOf(const QString& type);

    // Reads the catalogue again and shows every tab, each in every category, narrowed by
    // `search`. Throws the storage error of a failed read.
    void reload(const QString& search);
    // Shows one tab narrowed to `category` ("All" or empty: every one) and `search`.
    void show(int tab, const QString& category, const QString& search);
    // The tab listing cost item `id`; -1 when it is not in the catalogue.
    int tabOfItem(std::int32_t id) const;
    // Selects the row of item `id` on `tab` and scrolls to it; false when it is not shown.
    bool select(int tab, std::int32_t id);
    int rowCount(int tab) const;

    // After a form saved item `id` from tab `tab`: shows the item's own tab (a cost item may
    // have changed its type) with the item selected; when the category or the search hide it,
    // they are cleared and `filter` shows the tab again.
    void reveal(int tab, std::int32_t id, QTabWidget* tabs, QComboBox* category, QLineEdit* search,
                const std::function<void()>& filter);

private:
    void size(int tab);

    AppContext& ctx_;
    std::array<QTableView*, Tabs> grids_;
    std::array<CatalogueModel*, Tabs> models_{};
    std::array<bool, Tabs> sized_{};
    std::shared_ptr<const CatalogueList::Catalogue> catalogue_;
};
