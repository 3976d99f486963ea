// The check that follows every view and texture creation, so a failed creation reports itself with the
// same assertion text everywhere. Internal to the graphics code.
#pragma once

namespace Qel::impl
{
constexpr bool SUCCEEDED(bool aResult)
{
    return aResult;
}
} // namespace Qel::impl
