#include "parts/cCLTPart.h"

#include "base/VxError.h"

namespace vx {

namespace {
void RequireIndex(int32_t i)
{
    if (i < 0 || i > cCLTPart::kUserFieldBound)
        throw VxError(9, "Subscript out of range", "cCLTPart");
}
} // namespace

const std::string& cCLTPart::UserField(int32_t i) const
{
    RequireIndex(i);
    return m_userFields[static_cast<size_t>(i)];
}

void cCLTPart::SetUserField(int32_t i, const std::string& value)
{
    RequireIndex(i);
    m_userFields[static_cast<size_t>(i)] = value;
}

} // namespace vx
