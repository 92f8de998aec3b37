#pragma once
// Helpers of the conversion tests: a mapping set up in the sandbox's configuration and
// the working table's columns read back.
#include "TestSupport.h"

#include "base/ProgramState.h"
#include "config/modCLTSettings.h"
#include "convert/ConversionSession.h"

#include <QStringList>

#include <string>
#include <utility>
#include <vector>

namespace convtest {

// Maps the named fields to file columns; every other field becomes unmapped.
inline void MapColumns(const vxtest::RuntimeSandbox& sandbox, const std::vector<std::pair<std::string, int>>& map)
{
    std::string sql = "UPDATE tblPartsFileMapping SET PF_Col = 0;";
    for (const auto& [name, column] : map)
        sql +=
            "UPDATE tblPartsFileMapping SET PF_Col = " + std::to_string(column) + " WHERE MainName = '" + name + "';";
    sandbox.execDef(sql);
}

using vxtest::ToList;

// One column of the session's working rows, in row order.
inline QStringList WorkingColumn(vx::ConversionSession& session, const std::string& expression)
{
    QStringList out;
    vx::Statement st =
        session.connection()->Prepare("SELECT " + expression + " FROM tblPartsFileProcessTemplate ORDER BY AutoIDNum");
    while (st.Step())
        out << QString::fromStdString(st.Column(0).toText());
    return out;
}

// A sandbox with scripted answers and a conversion session on it. The test maps the columns
// and sets the program state, then prepares the session.
struct SessionFixture {
    vxtest::RuntimeSandbox sandbox;
    vxtest::ScriptedPresenter presenter;
    vx::ConversionSession session;

    // Maps the columns (by default PART 1, WIDTH 2, LENGTH 3, QUANTITY 4) and prepares the session.
    bool prepare(const std::vector<std::pair<std::string, int>>& map = {
                     {"PART", 1}, {"WIDTH", 2}, {"LENGTH", 3}, {"QUANTITY", 4}})
    {
        MapColumns(sandbox, map);
        return session.Prepare();
    }
};

// The machine settings that gate the criteria.
inline void SetMachine(int machineType, bool scribes, bool spaceBalls, bool pocketHoles)
{
    vx::State().MachineType = machineType;
    vx::State().Scribes = scribes;
    vx::State().SpaceBalls = spaceBalls;
    vx::State().PocketHoles = pocketHoles;
    vx::SetMachineFlags();
}

} // namespace convtest
