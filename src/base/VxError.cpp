#include "base/VxError.h"

namespace vx {

std::string VxError::standardText() const
{
    return "Error: " + std::to_string(m_number) + ", " + m_description + ", " + m_source;
}

std::string StandardErrorText(const std::exception& e)
{
    if (auto* vxe = dynamic_cast<const VxError*>(&e))
        return vxe->standardText();
    return "Error: " + std::to_string(kErrInvalidProcedureCall) + ", " + e.what() + ", VXCLT";
}

} // namespace vx
