#include "parts/PartEntry.h"

#include "base/NumberText.h"
#include "config/modCLTTools.h"
#include "convert/modCLTScribes.h"
#include "convert/modCLTSpaceBalls.h"

namespace vx {

MappingFields MappingFields::Read(Connection& def)
{
    MappingFields fields;
    Statement st = def.Prepare(
        // DIMENSIONS only reads a cut list's cell into width, length and thickness: no part field.
        "SELECT IDNum, MainName, UserLabel, RequiredField, ManualField FROM tblPartsFileMapping WHERE MainName <> "
        "'DIMENSIONS' ORDER BY IDNum ASC");
    while (st.Step()) {
        MappingField f;
        f.idNum = static_cast<int32_t>(st.ColumnLong(0));
        f.mainName = st.ColumnText(1);
        f.userLabel = st.ColumnText(2);
        f.required = st.Column(3).toBool();
        Variant manual = st.Column(4);
        if (!manual.isNull())
            f.manualField = manual.toBool();
        fields.m_rows.push_back(std::move(f));
    }
    return fields;
}

const MappingField* MappingFields::Find(std::string_view mainName) const
{
    for (const MappingField& f : m_rows)
        if (EqualsNoCase(f.mainName, mainName))
            return &f;
    return nullptr;
}

std::string MappingFields::LabelOf(std::string_view mainName) const
{
    const MappingField* f = Find(mainName);
    return f ? f->userLabel : std::string();
}

bool MappingFields::InUse(std::string_view mainName) const
{
    const MappingField* f = Find(mainName);
    return f && f->manualField.value_or(false);
}

void SaveManualFieldChoices(Connection& def, const std::vector<MappingField>& rows)
{
    Transaction tx(def);
    Statement st = def.Prepare("UPDATE tblPartsFileMapping SET UserLabel = ?1, ManualField = ?2 WHERE IDNum = ?3");
    for (const MappingField& f : rows) {
        st.Reset();
        st.BindText(1, f.userLabel);
        if (f.manualField)
            st.BindLong(2, *f.manualField ? 1 : 0);
        else
            st.BindNull(2); // a field without a value keeps none
        st.BindLong(3, f.idNum);
        st.Run();
    }
    tx.commit();
}

namespace {
bool CheckList(bool accessoryOn, void (*check)(const std::string&, bool&, std::string&, double), std::string& text,
               double length, std::string& message)
{
    if (!accessoryOn) {
        text.clear();
        return true;
    }
    bool error = false;
    check(TrimBlanks(text), error, message, length);
    return !error;
}
} // namespace

bool CheckPartEntry(PartEntryTexts& t, const PartEntryRules& r, PartEntryNumbers& n, std::string& message)
{
    if (!CheckLongValue(r.seqName, TrimBlanks(t.seqNum), n.seqNum, 0, false, message))
        return false;
    t.seqNum = std::to_string(n.seqNum);
    if (!CheckLongValue(r.quantityName, TrimBlanks(t.quantity), n.quantity, 0, false, message))
        return false;
    t.quantity = std::to_string(n.quantity);
    if (!r.thicknessTyped) {
        t.thickness = "0";
        n.thickness = 0;
    } else {
        if (r.emptyThicknessIsZero && TrimBlanks(t.thickness).empty())
            t.thickness = "0";
        if (!CheckDoubleValue(r.thicknessName, TrimBlanks(t.thickness), n.thickness, 0, true, message))
            return false;
    }
    if (!CheckDoubleValue(r.widthName, TrimBlanks(t.width), n.width, 0, false, message))
        return false;
    if (!CheckDoubleValue(r.lengthName, TrimBlanks(t.length), n.length, 0, false, message))
        return false;
    if (r.partRefusal && TrimBlanks(t.part).empty()) {
        message = *r.partRefusal;
        return false;
    }
    if (r.materialRefusal && TrimBlanks(t.material).empty()) {
        message = *r.materialRefusal;
        return false;
    }
    if (!CheckList(r.scribes, &CheckScribeList, t.scribes, n.length, message))
        return false;
    return CheckList(r.spaceBalls, &CheckSpaceBallList, t.spaceBalls, n.length, message);
}

int MatchingListEntry(const std::vector<std::string>& entries, std::string_view text)
{
    const std::string wanted = UpperCase(TrimBlanks(text));
    int found = -1;
    for (size_t i = 0; i < entries.size(); ++i)
        if (UpperCase(TrimBlanks(entries[i])) == wanted)
            found = static_cast<int>(i);
    return found;
}

namespace {
void InsertIfNew(Connection& def, const char* table, const char* column, const std::string& name)
{
    const std::string t = SqlName(table), c = SqlName(column);
    Statement st = def.Prepare("INSERT INTO " + t + " (" + c + ") SELECT ?1 WHERE NOT EXISTS (SELECT 1 FROM " + t +
                               " WHERE " + c + " = ?1)");
    st.BindText(1, name);
    st.Run();
}
} // namespace

void LearnPartName(Connection& def, const std::string& name) { InsertIfNew(def, "tblPartsCriteria", "Part", name); }

void LearnMaterial(Connection& def, const std::string& name) { InsertIfNew(def, "tblMaterials", "Material", name); }

} // namespace vx
