// Kept apart from the check itself so that code using only the check does not pull in the
// conversion engine.
#include "base/ErrorLog.h"
#include "convert/ConversionSession.h"
#include "mapping/SavedMappingCheck.h"

namespace vx {

bool AutoProcessPartsFile(ConversionSession& session)
{
    bool isError = false;
    CheckForValidMapping(isError);
    if (isError)
        TheErrorLog().Display();
    session.Prepare();
    return !isError;
}

} // namespace vx
