#include "convert/PartsCriteria.h"

#include "base/Messages.h"
#include "base/NumberText.h"
#include "base/ProgramState.h"
#include "base/VxError.h"
#include "convert/modCLTScribes.h"
#include "convert/modCLTSpaceBalls.h"

#include <sqlite3.h>

#include <vector>

namespace vx {

namespace {
constexpr int kErrInvalidUseOfNull = 94;
constexpr const char* kCriteriaColumns = "SELECT Part, Valid_Part, B_Grade, Pocket_Holes, Space_Ball_Loc, Panel, "
                                         "Min_Panel_Width, Process, Switch_Dims, Reverse_Scribes FROM tblPartsCriteria";
} // namespace

// ---------------------------------------------------------------- new names

NewNameRegistry::NewNameRegistry(std::shared_ptr<Connection> connection, bool learn)
    : m_conn(std::move(connection)), m_learn(learn),
      m_addPart(m_conn->Prepare("INSERT INTO tblPartsCriteria (Part, Valid_Part) VALUES (?1, ?2)")),
      m_addMaterial(m_conn->Prepare("INSERT INTO tblMaterials (Material) VALUES (?1)"))
{
    Statement parts = m_conn->Prepare(kCriteriaColumns + std::string(" WHERE Part IS NOT NULL"));
    while (parts.Step()) {
        PartCriteria c = ReadCriteria(parts);
        m_incomplete = m_incomplete || !c.complete;
        if (!m_parts.emplace(Key(parts.ColumnText(0)), c).second)
            m_duplicates = true;
    }
    Statement materials = m_conn->Prepare("SELECT Material FROM tblMaterials WHERE Material IS NOT NULL");
    while (materials.Step())
        m_materials.insert(Key(materials.ColumnText(0)));
}

PartCriteria NewNameRegistry::ReadCriteria(Statement& st)
{
    PartCriteria c;
    c.valid = st.Column(1).toBool();
    c.bGrade = st.Column(2).toBool();
    c.pocketHoles = st.Column(3).toBool();
    c.complete = !st.Column(4).isNull() && !st.Column(6).isNull() && !st.Column(7).isNull();
    c.spaceBallLoc = st.Column(4).toDouble();
    c.panel = st.Column(5).toBool();
    c.minPanelWidth = st.Column(6).toDouble();
    c.process = st.Column(7).isNull() ? 1 : st.Column(7).toLong();
    c.switchDims = st.Column(8).toBool();
    c.reverseScribes = st.Column(9).toBool();
    return c;
}

const PartCriteria* NewNameRegistry::CriteriaFor(std::string_view part)
{
    if (part != m_lastPart) {
        m_lastPart.assign(part);
        auto it = m_parts.find(Key(part));
        m_lastCriteria = it == m_parts.end() ? nullptr : &it->second;
    }
    return m_lastCriteria;
}

std::string NewNameRegistry::Key(std::string_view name)
{
    std::string key(name);
    for (char& c : key)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return key;
}

void NewNameRegistry::CheckForNewPart(std::string_view sPartName)
{
    if (CriteriaFor(sPartName))
        return;
    m_newParts.emplace_back(sPartName);
    bool valid = true;
    if (!m_learn) {
        // Listed as the console would learn it: a valid part with the table's other defaults.
        m_lastPart.assign(sPartName);
        m_lastCriteria = &m_parts.emplace(Key(sPartName), PartCriteria{}).first->second;
        return;
    }
    if (m_validForAll) {
        valid = *m_validForAll;
    } else if (State().AskIfValid == 1) {
        std::string name(sPartName);
        int answer = ShowMessage("The Part name: '" + name +
                                     "' is a new Part Name. Would you like this Part output to the Veltrax?",
                                 vbYesNoToAll, "New Part Name");
        valid = answer == vbYes || answer == vbYesToAll;
        if (answer == vbYesToAll || answer == vbNoToAll)
            m_validForAll = valid;
    }
    m_addPart.Reset();
    m_addPart.BindText(1, sPartName);
    m_addPart.BindLong(2, valid ? 1 : 0);
    m_addPart.Run();
    // The new row's other rules are the table's defaults: read them back.
    Statement added = m_conn->Prepare(kCriteriaColumns + std::string(" WHERE rowid = last_insert_rowid()"));
    PartCriteria c;
    c.valid = valid;
    if (added.Step())
        c = ReadCriteria(added);
    auto it = m_parts.emplace(Key(sPartName), c).first;
    m_lastPart.assign(sPartName);
    m_lastCriteria = &it->second;
}

void NewNameRegistry::CheckForNewMaterial(std::string_view material)
{
    if (material == m_lastMaterial)
        return;
    m_lastMaterial.assign(material);
    m_key = Key(material);
    if (m_materials.count(m_key))
        return;
    m_newMaterials.emplace_back(material);
    if (!m_learn) {
        m_materials.insert(m_key);
        return;
    }
    m_addMaterial.Reset();
    m_addMaterial.BindText(1, material);
    m_addMaterial.Run();
    m_materials.insert(m_key);
}

// ---------------------------------------------------------------- SQL functions

namespace {
std::string TextArg(sqlite3_value* v)
{
    auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? std::string(p, static_cast<size_t>(sqlite3_value_bytes(v))) : std::string();
}

void ResultText(sqlite3_context* ctx, const std::string& text)
{
    sqlite3_result_text(ctx, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// vx_scribes(scribes, length, reverseWanted, reversed) -> the list to store
void SqlScribes(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    bool reversed = sqlite3_value_int(argv[3]) != 0;
    ResultText(ctx, ApplyScribeCriteria(TextArg(argv[0]), sqlite3_value_double(argv[1]),
                                        sqlite3_value_int(argv[2]) != 0, reversed));
}

// vx_scribes_reversed(scribes, length, reverseWanted, reversed) -> the orientation after it
void SqlScribesReversed(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    bool reversed = sqlite3_value_int(argv[3]) != 0;
    ApplyScribeCriteria(TextArg(argv[0]), sqlite3_value_double(argv[1]), sqlite3_value_int(argv[2]) != 0, reversed);
    sqlite3_result_int(ctx, reversed ? 1 : 0);
}

// vx_spaceballs(length, location, threshold3, threshold4)
void SqlSpaceBalls(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    std::array<double, 2> lengths{sqlite3_value_double(argv[2]), sqlite3_value_double(argv[3])};
    ResultText(ctx, CalculateSpaceBalls(sqlite3_value_double(argv[0]), sqlite3_value_double(argv[1]), lengths));
}

// vx_long(value): a whole number rounded half to even; overflow beyond 32 bits fails.
void SqlLong(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER) {
        sqlite3_int64 v = sqlite3_value_int64(argv[0]);
        if (v >= INT32_MIN && v <= INT32_MAX) {
            sqlite3_result_int64(ctx, v);
            return;
        }
        sqlite3_result_error(ctx, "Overflow", -1);
        return;
    }
    try {
        double d =
            sqlite3_value_type(argv[0]) == SQLITE_TEXT ? ToDouble(TextArg(argv[0])) : sqlite3_value_double(argv[0]);
        sqlite3_result_int64(ctx, RoundToLong(d));
    } catch (const VxError& e) {
        sqlite3_result_error(ctx, e.description().c_str(), -1);
    }
}

void RegisterFunctions(Connection& connection)
{
    sqlite3* db = connection.handle();
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "vx_scribes", 4, flags, nullptr, SqlScribes, nullptr, nullptr);
    sqlite3_create_function(db, "vx_scribes_reversed", 4, flags, nullptr, SqlScribesReversed, nullptr, nullptr);
    sqlite3_create_function(db, "vx_spaceballs", 4, flags, nullptr, SqlSpaceBalls, nullptr, nullptr);
    sqlite3_create_function(db, "vx_long", 1, flags, nullptr, SqlLong, nullptr, nullptr);
}

std::string Flag(const char* column) { return std::string("(IFNULL(") + column + ",0)<>0)"; }

// The tables one application works on: the parts (as w) and the criteria (as c).
struct CriteriaTables {
    std::string parts = "tblPartsFileProcessTemplate";
    std::string criteria = "tblPartsCriteria";
};

std::string Joined(const std::vector<std::string>& sets)
{
    std::string sql;
    for (const std::string& s : sets)
        sql += (sql.empty() ? "" : ", ") + s;
    return sql;
}

// The UPDATE that writes one criteria row (or all of them at once) into the matching rows.
// All SET expressions see the row as it was, so the switched width and length are spelled out.
// With accumulate, flags only ever turn on (several criteria rows for one name).
std::string CriteriaUpdateSql(const CriteriaOptions& o, const CriteriaTables& t, bool accumulate, bool oneCriteriaRow)
{
    const std::string exchange = "(" + Flag("c.Switch_Dims") + " <> (w.Dimensions_Switched<>0))";
    const std::string width = o.flagsOnly ? "w.WIDTH" : "(CASE WHEN " + exchange + " THEN w.LENGTH ELSE w.WIDTH END)";
    const std::string length = o.flagsOnly ? "w.LENGTH" : "(CASE WHEN " + exchange + " THEN w.WIDTH ELSE w.LENGTH END)";
    auto flag = [&](bool enabled, const std::string& condition, const char* column) {
        if (!enabled)
            return accumulate ? std::string("w.") + column : std::string("0");
        return accumulate ? "(" + condition + " OR w." + column + "<>0)" : condition;
    };
    std::vector<std::string> sets;
    if (!o.flagsOnly) {
        sets.push_back("WIDTH = " + width);
        sets.push_back("LENGTH = " + length);
        sets.push_back("Dimensions_Switched = " + Flag("c.Switch_Dims"));
        std::string scribeArgs = "w.SCRIBES, " + length + ", " + Flag("c.Reverse_Scribes") + ", w.Scribes_Reversed<>0";
        if (o.scribes) {
            sets.push_back("SCRIBES = CASE WHEN IFNULL(w.SCRIBES,'') = '' THEN w.SCRIBES ELSE vx_scribes(" +
                           scribeArgs + ") END");
            sets.push_back("Scribes_Reversed = CASE WHEN IFNULL(w.SCRIBES,'') = '' THEN w.Scribes_Reversed "
                           "ELSE vx_scribes_reversed(" +
                           scribeArgs + ") END");
        }
        sets.push_back("Process = vx_long(c.Process)");
        sets.push_back("ValidPart = " + Flag("c.Valid_Part"));
    }
    sets.push_back("B_GRADE = " + flag(o.bGradeEnabled, Flag("c.B_Grade"), "B_GRADE"));
    sets.push_back("POCKETHOLES = " + flag(o.pocketHoles, Flag("c.Pocket_Holes"), "POCKETHOLES"));
    sets.push_back("PANEL = " +
                   flag(o.panelEnabled, "(" + Flag("c.Panel") + " AND " + width + " >= c.Min_Panel_Width)", "PANEL"));
    if (!o.scribes && !accumulate)
        sets.push_back("SCRIBES = ''");
    if (o.computeSpaceBalls)
        sets.push_back("SPACEBALLS = vx_spaceballs(" + length + ", c.Space_Ball_Loc, ?1, ?2)");
    else if (!accumulate)
        sets.push_back("SPACEBALLS = ''");
    std::string sql =
        "UPDATE " + t.parts + " AS w SET " + Joined(sets) + " FROM " + t.criteria + " AS c WHERE c.Part = w.PART";
    if (oneCriteriaRow)
        sql += " AND c.AutoIDNum = ?3";
    return sql;
}

std::string ResetSql(const CriteriaOptions& o, const CriteriaTables& t, const std::string& where)
{
    std::string sql = "UPDATE " + t.parts + " AS w SET " + (o.flagsOnly ? "" : "ValidPart = 1, Process = 1, ") +
                      "B_GRADE = 0, POCKETHOLES = 0, PANEL = 0, SPACEBALLS = ''";
    if (!o.scribes)
        sql += ", SCRIBES = ''";
    return sql + where;
}

void BindThresholds(Statement& st, const CriteriaOptions& o)
{
    if (o.computeSpaceBalls) {
        st.BindDouble(1, o.extraSpaceBallLengths[0]);
        st.BindDouble(2, o.extraSpaceBallLengths[1]);
    }
}

void ApplyCriteria(Connection& connection, const CriteriaTables& t, const CriteriaOptions& options)
{
    RegisterFunctions(connection);
    Transaction tx(connection);
    // A criteria row that applies to parts but lacks a number it needs stops the whole run
    // before any row changes.
    std::string missing = options.flagsOnly ? "c.Min_Panel_Width IS NULL OR c.Space_Ball_Loc IS NULL"
                                            : "c.Process IS NULL OR c.Min_Panel_Width IS NULL OR "
                                              "c.Space_Ball_Loc IS NULL";
    Variant emptyValue =
        connection.ScalarQuery("SELECT c.Part FROM " + t.criteria + " AS c WHERE (" + missing +
                               ") AND EXISTS (SELECT 1 FROM " + t.parts + " AS w WHERE w.PART = c.Part) LIMIT 1");
    if (!emptyValue.isNull())
        throw VxError(kErrInvalidUseOfNull, "Invalid use of Null", "ApplyPartsCriteria");

    bool duplicates = !connection
                           .ScalarQuery("SELECT 1 FROM " + t.criteria +
                                        " WHERE Part IS NOT NULL GROUP BY Part HAVING count(*) > 1 LIMIT 1")
                           .isNull();
    if (!duplicates) {
        // One criteria row per name: rows without criteria get the reset values, the others
        // everything from their criteria row, each row written once.
        connection.Execute(
            ResetSql(options, t, " WHERE NOT EXISTS (SELECT 1 FROM " + t.criteria + " AS c WHERE c.Part = w.PART)"));
        Statement update = connection.Prepare(CriteriaUpdateSql(options, t, false, false));
        BindThresholds(update, options);
        update.Run();
    } else {
        // Several criteria rows for one name: reset everything, then apply them one by one
        // in Part order, as the operator's grid lists them.
        connection.Execute(ResetSql(options, t, ""));
        Statement update = connection.Prepare(CriteriaUpdateSql(options, t, true, true));
        Statement ids = connection.Prepare("SELECT AutoIDNum FROM " + t.criteria + " ORDER BY Part, AutoIDNum");
        while (ids.Step()) {
            update.Reset();
            BindThresholds(update, options);
            update.BindLong(3, ids.ColumnLong(0));
            update.Run();
        }
    }
    tx.commit();
}
} // namespace

bool CriteriaOptionsFromSettings(std::array<std::string, 2>& extraSpaceBallTexts, CriteriaOptions& options,
                                 std::string& error)
{
    options.scribes = State().Scribes;
    options.bGradeEnabled = State().BGradeEnabled;
    options.pocketHoles = State().PocketHoles;
    options.panelEnabled = State().PanelEnabled;
    if (State().SpaceBalls) {
        std::array<std::string, 2> texts = extraSpaceBallTexts;
        if (!CheckExtraSpaceBalls(texts, options.extraSpaceBallLengths, error))
            return false;
        extraSpaceBallTexts = texts;
        options.computeSpaceBalls = true;
    }
    return true;
}

void ApplyCriteriaToWorkingTable(Connection& connection, const CriteriaOptions& options)
{
    ApplyCriteria(connection, CriteriaTables{}, options);
}

void ApplyCriteriaToPartsFile(Connection& partsFile, const std::string& criteriaDatabase, CriteriaOptions options)
{
    options.flagsOnly = true;
    // The criteria are read from the configuration database attached for this one run.
    Statement attach = partsFile.Prepare("ATTACH DATABASE ?1 AS vxcriteria");
    attach.BindText(1, criteriaDatabase);
    attach.Run();
    try {
        ApplyCriteria(partsFile, CriteriaTables{"main.tblParts", "vxcriteria.tblPartsCriteria"}, options);
    } catch (...) {
        partsFile.Execute("DETACH DATABASE vxcriteria");
        throw;
    }
    partsFile.Execute("DETACH DATABASE vxcriteria");
}

void ApplyCriteriaToNewRow(const PartCriteria* c, const CriteriaOptions& o, RowCriteriaResult& row)
{
    if (!o.scribes)
        row.scribes.clear();
    row.spaceBalls.clear();
    if (!c) {
        row.valid = true;
        row.bGrade = row.pocketHoles = row.panel = false;
        row.process = 1;
        return;
    }
    if (c->switchDims) {
        std::swap(row.width, row.length);
        row.switched = true;
    }
    if (!row.scribes.empty())
        row.scribes = ApplyScribeCriteria(row.scribes, row.length, c->reverseScribes, row.reversed);
    row.process = c->process;
    row.valid = c->valid;
    row.bGrade = o.bGradeEnabled && c->bGrade;
    row.pocketHoles = o.pocketHoles && c->pocketHoles;
    row.panel = o.panelEnabled && c->panel && row.width >= c->minPanelWidth;
    if (o.computeSpaceBalls)
        row.spaceBalls = CalculateSpaceBalls(row.length, c->spaceBallLoc, o.extraSpaceBallLengths);
}

} // namespace vx
