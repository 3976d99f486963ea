// The game's process entry.
#include "App/Go.h"

int main()
{
    return Go();
}
