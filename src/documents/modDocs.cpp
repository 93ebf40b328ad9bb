#include "documents/modDocs.h"

#include "common/AppContext.h"
#include "common/ErrorMessage.h"
#include "common/Guard.h"
#include "common/Numbers.h"
#include "common/Prompt.h"
#include "common/Quantity.h"
#include "documents/CompanyLogo.h"
#include "documents/DocDates.h"
#include "documents/Placeholders.h"
#include "documents/Templates.h"
#include "pricing/Admin.h"
#include "pricing/Sections.h"
#include "settings/SettingsStore.h"
#include "storage/modData.h"
#include "takeoff/RoofMath.h"

#include <QDate>
#include <QLocale>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace modDocs {
namespace {

const QString Owner = QStringLiteral("Module modDocs");
const QString CrLf = QStringLiteral("\r\n");

QString blanks(int n) {
    return QString(n, QLatin1Char(' '));
}

ProcedureError noRecord() {
    return ProcedureError{3021, QStringLiteral("No current record.")};
}

Money moneyAt(const QSqlQuery& q, int col) {
    return Money::fromRaw(q.value(col).toLongLong());
}

Money sumOf(QSqlDatabase db, const QString& sql, const QVariantList& params = {}) {
    return Money::fromRaw(modData::scalar(db, sql, params).toLongLong());
}

// A value that does not fit its column is broken at the last blank that keeps the piece within
// the width, or cut at the width when there is none.
QStringList pieces(const QString& text, int width) {
    if (text.size() <= width || width <= 0)
        return {text};
    QStringList out;
    QString rest = text;
    while (rest.size() > width) {
        const qsizetype cut = rest.lastIndexOf(QLatin1Char(' '), width);
        if (cut <= 0) {
            out << rest.left(width);
            rest = rest.mid(width);
        } else {
            out << rest.left(cut);
            rest = rest.mid(cut + 1);
        }
    }
    if (!rest.isEmpty())
        out << rest;
    return out;
}

QString shortDate(const QDate& d) {
    return DocDates::shortDate(d);
}

void emptyWorkingTables(AppContext& ctx) {
    for (const char* table : {"EstiGrid", "TempSect", "tpLineItems"})
        modData::ActionQuery(ctx, QStringLiteral("delete from %1").arg(QLatin1String(table)),
                             ctx.TempDBConn);
}

// The administrative line and the estimate total of the detail document.
Money appendAdmin(AppContext& ctx, QString& docText, Money subTotal) {
    docText += blanks(12) + QStringLiteral("Overhead") + blanks(9) + QStringLiteral("Profit") +
               blanks(7) + QStringLiteral("Contingency") + blanks(8) +
               QStringLiteral("Management") + CrLf;
    QSqlQuery q = modData::exec(
        ctx, ctx.EstConn,
        QStringLiteral("select Overhead,Profit,Contingency,Management from Main where ID=1"));
    if (!q.next())
        throw noRecord();
    Money total = subTotal;
    QList<Field> cells;
    for (int i = 0; i < 4; ++i) {
        const AdminCell cell = FigureAdminCell(q.value(i).toString(), subTotal);
        total += cell.amount;
        cells.append({cell.text, i == 0 ? 11 : 10});
    }
    docText += PadRow(cells);
    return total;
}

void fillTemplate(AppContext& ctx, const QString& kind, QTextDocument& box) {
    const QString path = Templates::path(ctx, kind);
    QString problem;
    if (!Templates::load(path, box, &problem)) {
        ctx.prompt->message(problem, QString(), Prompt::Icon::Warning);
        return;
    }

    QSqlQuery m = modData::exec(
        ctx, ctx.MastEstConn,
        QStringLiteral("select estpath,estdate,estlength,estname from master where id=?"),
        {ctx.EstID});
    if (!m.next())
        throw noRecord();
    const QString estdate = m.value(1).toString();
    const std::int32_t estlength = m.value(2).toInt();
    ctx.EstConn = ctx.estimateDbPath(m.value(0).toString());

    QSqlQuery o = modData::exec(
        ctx, ctx.EstConn,
        QStringLiteral("select coalesce(FName,'') || ' ' || coalesce(LName,''),Address,CityStZip,"
                       "PaymentTerms,EstSummary,Overhead,Profit,Contingency,Management "
                       "from Main where ID=1"));
    if (!o.next())
        throw noRecord();
    const QString fullName = o.value(0).toString();
    QString coName;
    const QString coInfo = GetCoInfo(ctx, &coName);

    // An estimate without lines has a line sum of 0 (the SQL sum over no rows is Null).
    const Money lines = sumOf(modData::db(ctx, ctx.EstConn),
                              QStringLiteral("select sum(LineTotal) from LineItems"));
    Money total = lines;
    for (int i = 5; i < 9; ++i)
        total += FigureAdminCell(o.value(i).toString(), lines).amount;

    using Placeholders::Value;
    const QDate today = QDate::currentDate();
    Placeholders::Values values;
    values[QStringLiteral("<<CoInfo>>")] = Value::ofText(coInfo);
    // The block starts with the company's name when it is printed: that line stands out.
    values[QStringLiteral("<<CoInfo>>")].boldFirstLine =
        !coName.trimmed().isEmpty() && coInfo.startsWith(coName.trimmed());
    values[QStringLiteral("<<CoLogo>>")] = CompanyLogo::placeholder(ctx);
    values[QStringLiteral("<<CustInfo>>")] =
        Value::ofText(fullName + QLatin1Char('\n') + o.value(1).toString() + QLatin1Char('\n') +
                      o.value(2).toString());
    values[QStringLiteral("<<Date>>")] = Value::ofText(shortDate(today));
    values[QStringLiteral("<<FullDate>>")] = Value::ofText(DocDates::fullDate(today));
    values[QStringLiteral("<<LastName>>")] = Value::ofText(fullName);
    values[QStringLiteral("<<Summary>>")] = Value::ofText(o.value(4).toString());
    values[QStringLiteral("<<LineTotals>>")] = Value::ofText(QString());
    values[QStringLiteral("<<EstTotal>>")] = Value::ofText(total.toCurrency());
    values[QStringLiteral("<<PayTerms>>")] = Value::ofText(o.value(3).toString());
    values[QStringLiteral("<<ExpDate>>")] = Value::ofText(expiryText(estdate, estlength));
    values[QStringLiteral("<<CoName>>")] = Value::ofText(coName);
    // One pass over the body, the headers and the footers: a value (an owner's name, a
    // summary) that reads like a placeholder is printed as typed.
    Placeholders::fill(box, values);
}

} // namespace

int fieldWidth(int code) {
    switch (code) {
    case 1:
        return 29;
    case 2:
        return 13;
    case 3:
        return 5;
    case 4:
        return 9;
    case 5:
        return 9;
    case 6:
        return 10;
    case 7:
        return 75;
    case 8:
        return 11;
    case 9:
        return 12;
    case 10:
        return 17;
    case 11:
        return 22;
    case 14:
        return 9;
    case 20:
        return 1;
    case 21:
        return 5;
    case 22:
        return 8;
    case 23:
        return 9;
    case 24:
        return 9;
    case 25:
        return 8;
    case 26:
        return 8;
    case 27:
        return 10;
    case 28:
        return 7;
    case 29:
        return 8;
    default:
        return 0;
    }
}

bool fieldLeftAligned(int code) {
    return code >= 1 && code <= 5;
}

QString PadField(const QVariant& value, int code) {
    const int width = fieldWidth(code);
    if (width == 0)
        return QString();
    const QString text = value.toString().left(width);
    const QString fill = blanks(width - int(text.size()));
    return fieldLeftAligned(code) ? text + fill : fill + text;
}

QString PadRow(const QList<Field>& fields) {
    QList<QStringList> cols;
    qsizetype lines = 1;
    for (const Field& f : fields) {
        // A left-aligned value that goes on below keeps a blank before the next column on each
        // of its lines, so that a full first line does not run into the next value.
        const int width = fieldWidth(f.code);
        const bool wraps = f.text.size() > width && width > 1;
        cols.append(pieces(f.text, wraps && fieldLeftAligned(f.code) ? width - 1 : width));
        lines = std::max(lines, cols.last().size());
    }
    QString out;
    for (qsizetype k = 0; k < lines; ++k) {
        QString line;
        for (qsizetype i = 0; i < fields.size(); ++i)
            line += PadField(k < cols[i].size() ? cols[i][k] : QString(), fields[i].code);
        // Continuation lines carry no trailing blanks.
        if (k > 0) {
            while (line.endsWith(QLatin1Char(' ')))
                line.chop(1);
        }
        out += line + CrLf;
    }
    return out;
}

Money percentOf(Money base, Money pct) {
    // base (ten-thousandths) × pct (ten-thousandths) ÷ 100 ÷ 10000, rounded halves to even.
    const __int128 num = __int128(base.raw()) * pct.raw();
    const __int128 den = __int128(100) * Money::Scale;
    __int128 q = num / den;
    __int128 r = num % den;
    if (r < 0) {
        r = -r;
    }
    const __int128 twice = 2 * r;
    if (twice > den || (twice == den && (q % 2 != 0)))
        q += num < 0 ? -1 : 1;
    return Money::fromRaw(std::int64_t(q));
}

AdminCell FigureAdminCell(const QString& stored, Money subTotal) {
    const Admin::Amount a = Admin::parseStored(stored);
    // The plain decimal stored today, or the currency text of earlier versions.
    const std::optional<Money> number = Money::parseStored(a.value.trimmed());
    if (!number)
        throw ProcedureError{13, QStringLiteral("Type mismatch")};
    AdminCell cell;
    if (a.fixed) {
        cell.amount = *number;
        cell.text = QStringLiteral("Fixed @ ") + number->toCurrency();
    } else {
        cell.amount = percentOf(subTotal, *number);
        cell.text = Numbers::inLocale(a.value.trimmed()) + QStringLiteral("% - ") +
                    cell.amount.toCurrency();
    }
    return cell;
}

QDate expiryDate(const QString& estdate, std::int32_t estlength) {
    const QDate d = QDate::fromString(estdate.left(10), Qt::ISODate);
    return d.isValid() ? d.addDays(estlength) : QDate();
}

QDate storedExpiryDate(AppContext& ctx, std::int32_t id) {
    QSqlQuery q =
        modData::exec(ctx, ctx.MastEstConn,
                      QStringLiteral("select estdate,estlength from master where id=?"), {id});
    return q.next() ? expiryDate(q.value(0).toString(), q.value(1).toInt()) : QDate();
}

QString expiryText(const QString& estdate, std::int32_t estlength) {
    const QDate d = QDate::fromString(estdate.left(10), Qt::ISODate);
    return d.isValid() ? shortDate(d.addDays(estlength)) : QString();
}

QString GetHead(AppContext& ctx, std::int32_t id) {
    // A roof figured without an estimate (figure mode) has no estimate to name.
    if (id <= 0)
        return QStringLiteral("a roof figured without an estimate") + CrLf +
               QString(75, QLatin1Char('=')) + CrLf + CrLf;
    QString head;
    Guard::run(*ctx.prompt, QStringLiteral("GetHead"), Owner, [&] {
        QSqlQuery q =
            modData::exec(ctx, ctx.MastEstConn,
                          QStringLiteral("select estname,estaddress from master where id=?"), {id});
        if (!q.next())
            throw noRecord();
        head = q.value(0).toString() + QStringLiteral(" * * ") + q.value(1).toString() +
               QStringLiteral(" * * Est ID:") + QString::number(id) + CrLf +
               QString(75, QLatin1Char('=')) + CrLf + CrLf;
    });
    return head;
}

void GetDetails(AppContext& ctx, QString& docText, bool emptyTables) {
    Guard::run(*ctx.prompt, QStringLiteral("GetDetails"), Owner, [&] {
        QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
        // The sections that have lines, in the order the user gave them, each with its own
        // lines: the same sections, headings and totals as the grid.
        Sections::adoptLines(db);
        for (const Sections::Section& section : Sections::withLines(db)) {
            const QString& name = section.name;
            docText += name + CrLf;
            QSqlQuery q = modData::exec(
                db,
                QStringLiteral("select Name,ItemTable,Qty,Unit,Cost,LineTotal from tpLineItems "
                               "where SectID=? order by ItemID,autoID"),
                {section.id});
            Money sum;
            while (q.next()) {
                const Money lineTotal = moneyAt(q, 5);
                sum += lineTotal;
                docText += PadRow({{q.value(0).toString(), 1},
                                   {q.value(1).toString(), 2},
                                   {Quantity::fromRaw(q.value(2).toLongLong()).toText(), 3},
                                   {q.value(3).toString(), 4},
                                   {moneyAt(q, 4).toCurrency(), 5},
                                   {lineTotal.toCurrency(), 6}});
            }
            docText +=
                PadRow({{QStringLiteral("Total for ") + name + QLatin1Char(' ') + sum.toCurrency(),
                         7}}) +
                CrLf;
        }

        const QString byType =
            QStringLiteral("select sum(LineTotal) from tpLineItems where ItemTable=?");
        QList<Field> sums;
        const std::pair<const char*, int> types[] = {{"material", 14}, {"labor", 8},
                                                     {"subcon", 8},    {"equip", 8},
                                                     {"fee", 14},      {"Unit_Item", 8}};
        for (const auto& [type, code] : types)
            sums.append({sumOf(db, byType, {QString::fromLatin1(type)}).toGrouped(), code});
        const Money subTotal = sumOf(db, QStringLiteral("select sum(LineTotal) from tpLineItems"));
        sums.append({subTotal.toGrouped(), 9});
        docText +=
            QStringLiteral(
                " Material     Labor       Subs      Equip      Fees     Unit      Sub Total") +
            CrLf;
        docText += PadRow(sums) + CrLf;

        const Money total = appendAdmin(ctx, docText, subTotal);
        docText += PadRow({{QStringLiteral("Estimate Total:  ") + total.toCurrency(), 7}});

        if (emptyTables)
            emptyWorkingTables(ctx);
    });
}

void GetRoof(AppContext& ctx, QString& docText, const Takeoff::RoofTotals& roofTotals) {
    // Every plane and run in words, as the roof tab's grids show them: no codes to look up.
    docText += QStringLiteral("AREAS") + CrLf;
    int n = 0;
    for (const Takeoff::AreaRow& r : Takeoff::areaRows(ctx))
        docText +=
            QStringLiteral("%1  %2").arg(++n).arg(Takeoff::describeArea(r.area, r.quick)) + CrLf;
    docText += CrLf + QStringLiteral("LINEAL") + CrLf;
    n = 0;
    for (const Takeoff::Lineal& l : Takeoff::linealRows(ctx))
        docText += QStringLiteral("%1  %2 (%3) %4, total %5")
                       .arg(++n)
                       .arg(l.name, RoofMath::linealName(l.type),
                            Takeoff::linealLength(l.type, l.length), QLocale().toString(l.total)) +
                   CrLf;
    docText += CrLf;
    auto line = [&](const char* caption, const QString& value) {
        const QString c = QString::fromLatin1(caption);
        docText += blanks(15) + c + blanks(std::max(1, 16 - int(c.size()))) + value + CrLf;
    };
    line("Total area:", QString::number(roofTotals.area));
    line("Squares:", roofTotals.squares());
    line("Waste:", QStringLiteral("%1 %").arg(Quantity::fromRaw(roofTotals.waste).toText()));
    line("Squares to order:", roofTotals.squaresToOrder());
    line("Total other:", QString::number(roofTotals.other));
    line("Total roof:", QString::number(roofTotals.total));
}

QString GetCoInfo(const AppContext& ctx, QString* coName) {
    const SettingsStore& s = *ctx.settings;
    auto info = [&](const char* key) {
        return s.get(QStringLiteral("CoInfo"), QLatin1String(key));
    };
    auto inc = [&](const char* key) {
        return s.get(QStringLiteral("CoInfoInc"), QLatin1String(key)) == QLatin1String("1");
    };
    const QString name = info("Name");
    if (coName)
        *coName = name;
    // Anything but "0" means letterhead paper: the block is left blank.
    if (s.get(QStringLiteral("CoInfoInc"), QStringLiteral("LetHead")) != QLatin1String("0"))
        return QString(6, QLatin1Char('\n'));
    // The details the user chose to print, one a line, without blank lines between or after
    // them: a letterhead is as tall as what it says.
    QStringList lines;
    lines << (inc("Name") ? name : QString());
    lines << (inc("AddressInc") ? info("Address") : QString());
    lines << (inc("CityInc") ? info("City") + QStringLiteral(", ") + info("ST") + QLatin1Char(' ') +
                                   info("Zip")
                             : QString());
    QString phones;
    if (inc("PhoneInc"))
        phones += info("Phone");
    if (inc("FaxInc"))
        phones += QStringLiteral(" Fax:") + info("Fax");
    if (inc("CellInc"))
        phones += QStringLiteral(" Cell:") + info("Cell");
    lines << phones.trimmed();
    lines << (inc("EmailInc") ? info("Email") : QString());
    lines << (inc("WebsiteInc") ? info("Website") : QString());
    QStringList printed;
    for (const QString& line : lines)
        if (!line.trimmed().isEmpty())
            printed << line.trimmed();
    return printed.join(QLatin1Char('\n'));
}

int ReplaceTag(QTextDocument& box, const QString& tag, const QString& value) {
    int count = 0;
    int start = 0;
    for (;;) {
        QTextCursor c = box.find(
            tag, start, QTextDocument::FindCaseSensitively | QTextDocument::FindWholeWords);
        if (c.isNull())
            break;
        c.insertText(value);
        start = c.position();
        ++count;
    }
    return count;
}

void BuildPage(AppContext& ctx, const QString& kind, QTextDocument& box, const PageInputs& in) {
    Guard::run(*ctx.prompt, QStringLiteral("BuildPage"), Owner, [&] {
        if (kind == QLatin1String("detail")) {
            box.setPlainText(QString());
            QString docText = QStringLiteral("ESTIMATE DETAILS for ") + GetHead(ctx, ctx.EstID);
            docText += QStringLiteral("Item Name") + blanks(21) + QStringLiteral("Type") +
                       blanks(9) + QStringLiteral("Qty") + blanks(2) + QStringLiteral("Unit") +
                       blanks(6) + QStringLiteral("Cost") + blanks(8) + QStringLiteral("Total") +
                       CrLf + CrLf;
            GetDetails(ctx, docText, in.emptyWorkingTables);
            box.setPlainText(docText);
        } else if (kind == QLatin1String("roof")) {
            box.setPlainText(QString());
            QString docText = QStringLiteral("ROOF DETAILS for ") + GetHead(ctx, ctx.EstID);
            GetRoof(ctx, docText, in.roofTotals ? *in.roofTotals : Takeoff::totals(ctx));
            box.setPlainText(docText);
        } else if (kind == QLatin1String("proposal") || kind == QLatin1String("contract")) {
            box.clear();
            fillTemplate(ctx, kind, box);
        }
    });
}

} // namespace modDocs
