#include "parts/PartRow.h"

#include "base/ProgramState.h"
#include "parts/cCLTPart.h"

namespace vx {

void AppendPartRow(RecordSet& rs, const cCLTPart& part, int32_t seqNum, const std::string& fileName)
{
    rs.AddNew();
    try {
        rs.SetValue("SEQ_NUM", seqNum);
        rs.SetValue("Quantity", part.Quantity());
        rs.SetValue("Thickness", part.Thickness());
        rs.SetValue("Width", part.Width());
        rs.SetValue("Length", part.Length());
        rs.SetValue("Part", part.Part());
        rs.SetValue("Material", part.Material());
        rs.SetValue("Scribes", part.Scribes());
        rs.SetValue("SpaceBalls", part.SpaceBalls());
        rs.SetValue("PocketHoles", part.PocketHoles());
        rs.SetValue("Panel", part.Panel());
        rs.SetValue("B_Grade", part.B_Grade());
        rs.SetValue("FileName", fileName);
        for (int32_t i = 1; i <= State().UserFieldCount; ++i)
            rs.SetValue("UF_" + std::to_string(i), part.UserField(i));
        rs.Update();
    } catch (...) {
        rs.CancelUpdate();
        throw;
    }
}

void DeletePartRows(Connection& connection, const std::vector<int64_t>& autoIds)
{
    Transaction tx(connection);
    Statement del = connection.Prepare("DELETE FROM tblParts WHERE AutoIDNum = ?1");
    for (int64_t id : autoIds) {
        del.Reset();
        del.BindLong(1, id);
        del.Run();
    }
    tx.commit();
}

} // namespace vx
