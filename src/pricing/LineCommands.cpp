#include "pricing/LineCommands.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "storage/modData.h"

namespace LineCommands {
namespace {

const QString kForm = Guard::form("frmCorvanel");

class AddLine : public WorkCommand {
public:
    AddLine(AppContext& ctx, const CurItemRecord& item, Refresh refresh)
        : WorkCommand(*ctx.prompt, QStringLiteral("Add Line"),
                      QStringLiteral("cmdAddNewLine_Click"), kForm, std::move(refresh)),
          ctx_(ctx), line_{0, 0, item, ctx.EstID} {}

protected:
    void apply() override { line_.id = modGrid::insertLine(ctx_, line_); }
    void revert() override { modGrid::deleteLine(ctx_, line_.id); }

private:
    AppContext& ctx_;
    modGrid::WorkingLine line_;
};

class EditLine : public WorkCommand {
public:
    EditLine(AppContext& ctx, qint64 lineID, const CurItemRecord& item, Refresh refresh)
        : WorkCommand(*ctx.prompt, QStringLiteral("Edit Line"), QStringLiteral("cmdEditLine_Click"),
                      kForm, std::move(refresh)),
          ctx_(ctx), id_(lineID), after_(item) {}
    bool changedAnything() const override { return !(before_ == after_); }

protected:
    void apply() override {
        if (!read_) {
            const auto line = modGrid::line(ctx_, id_);
            if (!line)
                throw modData::SqlError::message(QStringLiteral("That line no longer exists"));
            before_ = line->item;
            // What the line is after the change, as the tables hold it, so that an unchanged
            // edit compares equal.
            modGrid::updateLine(ctx_, id_, after_);
            after_ = modGrid::line(ctx_, id_)->item;
            read_ = true;
            return;
        }
        modGrid::updateLine(ctx_, id_, after_);
    }
    void revert() override { modGrid::updateLine(ctx_, id_, before_); }

private:
    AppContext& ctx_;
    qint64 id_;
    CurItemRecord before_;
    CurItemRecord after_;
    bool read_ = false;
};

class DeleteLine : public WorkCommand {
public:
    DeleteLine(AppContext& ctx, qint64 lineID, Refresh refresh)
        : WorkCommand(*ctx.prompt, QStringLiteral("Delete Line"),
                      QStringLiteral("cmdDeleteLine_Click"), kForm, std::move(refresh)),
          ctx_(ctx), id_(lineID) {}

protected:
    void apply() override {
        if (!line_) {
            line_ = modGrid::line(ctx_, id_);
            if (!line_)
                throw modData::SqlError::message(QStringLiteral("That line no longer exists"));
        }
        modGrid::deleteLine(ctx_, id_);
    }
    void revert() override { modGrid::restoreLine(ctx_, *line_); }

private:
    AppContext& ctx_;
    qint64 id_;
    std::optional<modGrid::WorkingLine> line_;
};

class Reorder : public WorkCommand {
public:
    Reorder(AppContext& ctx, const SectionOrder::Positions& before,
            const SectionOrder::Positions& after, Refresh refresh)
        : WorkCommand(*ctx.prompt, QStringLiteral("Change Section Order"),
                      QStringLiteral("cmdCommit_Click"), Guard::form("frmSortSections"),
                      std::move(refresh)),
          ctx_(ctx), before_(before), after_(after) {}
    bool changedAnything() const override { return before_ != after_; }

protected:
    void apply() override { put(after_); }
    void revert() override { put(before_); }

private:
    void put(const SectionOrder::Positions& p) {
        QSqlDatabase db = modData::db(ctx_, ctx_.TempDBConn);
        modData::Transaction t(db);
        SectionOrder::restore(db, p);
        modGrid::rebuildGrid(db);
        t.commit();
    }

    AppContext& ctx_;
    SectionOrder::Positions before_;
    SectionOrder::Positions after_;
};

} // namespace

WorkCommand* add(AppContext& ctx, const CurItemRecord& item, Refresh refresh) {
    return new AddLine(ctx, item, std::move(refresh));
}

WorkCommand* edit(AppContext& ctx, qint64 lineID, const CurItemRecord& item, Refresh refresh) {
    return new EditLine(ctx, lineID, item, std::move(refresh));
}

WorkCommand* remove(AppContext& ctx, qint64 lineID, Refresh refresh) {
    return new DeleteLine(ctx, lineID, std::move(refresh));
}

WorkCommand* reorder(AppContext& ctx, const SectionOrder::Positions& before,
                     const SectionOrder::Positions& after, Refresh refresh) {
    return new Reorder(ctx, before, after, std::move(refresh));
}

} // namespace LineCommands
