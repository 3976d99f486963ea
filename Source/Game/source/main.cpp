// The game's process entry.
#include "Go.h"

int main()
{
    return Go();
}
