// The game's process entry.
#include "Runtime/Go.h"

int main()
{
    return Go();
}
