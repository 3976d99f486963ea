#include "vek/text/TextService.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace Qel
{
TextService::~TextService()
{
    if (myLibrary != nullptr)
    {
        FT_Done_FreeType(static_cast<FT_Library>(myLibrary));
    }
}

bool TextService::Init()
{
    if (myLibrary != nullptr)
    {
        return true;
    }
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
    {
        return false;
    }
    myLibrary = library;
    return true;
}
} // namespace Qel
