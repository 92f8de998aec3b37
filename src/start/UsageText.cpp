// The usage text of the command-line conversion.
#include "base/Messages.h"
#include "base/ProgramState.h"
#include "config/RuntimeFiles.h"
#include "start/modCLTCommandLine.h"

namespace vx {

namespace {
// Where the settings are read from: this installation's real configuration database.
std::string SettingsPathLine() { return "    " + DefDatabasePath() + "."; }
} // namespace

void ShowUsage()
{
    const std::string lines[] = {
        "Veltrax Cutlister " + VersionString() + " - command-line mode",
        "",
        "Converts a comma delimited parts file (CSV) into a Veltrax parts file",
        "(.rdb) without showing the user interface. This is the same operation as",
        "'Convert a Comma Delimited Parts File to a Veltrax Parts File' in the",
        "program, using the column mapping, part criteria, and materials already",
        "configured on this PC.",
        "",
        "USAGE",
        "  VXCLT.exe /in <file.csv> [/out <file.rdb>] [options]",
        "  VXCLT.exe <file.csv> [<file.rdb>] [options]",
        "  VXCLT.exe /help",
        "",
        "  With no arguments VXCLT starts normally with its user interface.",
        "",
        "SWITCHES",
        "  /in <file>       Comma delimited parts file to convert. Required.",
        "  /out <file>      Veltrax parts file to create. Default: the input file",
        "                   name with a .rdb extension, in the same folder. An",
        "                   existing file is replaced without asking.",
        "  /skip <n>        Skip the first n lines of the input (header lines that",
        "                   do not contain parts). Default: the value saved in",
        "                   the program's convert screen.",
        "  /units <mode>    Length conversion applied to WIDTH, LENGTH, THICKNESS",
        "                   and SCRIBES:",
        "                     none    no conversion",
        "                     in2mm   inches in the file, millimetres in the output",
        "                     mm2in   millimetres in the file, inches in the output",
        "                   Default: the value saved in the program's convert screen.",
        "  /allowbad        If some rows contain invalid data, skip those rows and",
        "                   still write the output file. Without this switch any",
        "                   invalid row fails the conversion and no file is written.",
        "                   Either way, each rejected row is reported on stderr.",
        "  /log <file>      Also append all messages to this text file.",
        "  /help, /?        Show this text.",
        "",
        "  Values may also be given as /in:<file> or /in=<file>. Quote paths that",
        "  contain spaces.",
        "",
        "BEHAVIOUR NOTES",
        "  * The column mapping must already have been set up by running VXCLT and",
        "    using 'Map Your Comma Delimited Parts File'. Settings are read from",
        SettingsPathLine(),
        "  * New part names found in the file are added to the part criteria as",
        "    valid parts (as if 'Always ask if a new part is valid' were unchecked).",
        "    New material names are added to the materials list. Both persist, the",
        "    same as when converting through the user interface.",
        "  * /skip and /units are one-off overrides. They are NOT saved as the new",
        "    defaults for the convert screen.",
        "  * If the input file uses bare LF line endings it is rewritten in place",
        "    with CRLF before it is read, so the file must be writable.",
        "  * Progress goes to stdout, problems to stderr. VXCLT is a console",
        "    program: the command prompt, scripts, batch files and pipes wait",
        "    until it finishes and then see its exit code.",
        "",
        "EXIT CODES",
        "  0  Success. The output file was written.",
        "  1  Bad or missing arguments.",
        "  2  Configuration problem (required columns are not mapped, or CLTDef.mdb",
        "     is from an older version and is missing columns).",
        "  3  Input problem (file not found, unreadable, or contains no parts).",
        "  4  One or more rows were invalid and /allowbad was not given.",
        "  5  The output file could not be created.",
        "  6  Unexpected error, or an error was reported during the conversion.",
        "",
        "EXAMPLES",
        "  VXCLT.exe /in \"C:\\Jobs\\Cutlist.csv\"",
        "  VXCLT.exe /in \"C:\\Jobs\\Cutlist.csv\" /out \"C:\\Veltrax\\Cutlist.rdb\" /skip 1",
        "  VXCLT.exe /in job.csv /units in2mm /allowbad /log C:\\Jobs\\vxclt.log",
        "",
        "CHECKING AND HOT FOLDERS",
        "  VXCLT.exe /check <file.csv> [/skip <n>] [/units <mode>] [/log <file>]",
        "                   Reads and checks the file as a conversion would and",
        "                   writes nothing: no parts file, no learned part names",
        "                   or materials, the input left as it is. Reports the",
        "                   rows that would be written and rejected, the new",
        "                   part names, and ends with the conversion's exit code.",
        "  VXCLT.exe /watch <folder> [/out <folder>] [/once] [/settle <s>] [/log <file>]",
        "                   Converts every cut list that appears in the folder",
        "                   (the mapping's file extension), one at a time, oldest",
        "                   first, once it has not changed for /settle seconds",
        "                   (default 2). Parts files go to /out (default",
        "                   <folder>/out); converted files move to <folder>/done,",
        "                   the others to <folder>/failed with a .log of their",
        "                   transcript. Nothing there is overwritten or deleted.",
        "                   /once converts the files there now and ends: 0 when",
        "                   every file converted, 4 when any failed. Without",
        "                   /once it runs until SIGTERM or SIGINT. One watcher",
        "                   per folder.",
    };
    for (const std::string& line : lines)
        WriteStdOut(line);
}

} // namespace vx
