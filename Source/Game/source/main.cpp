// The game's process entry.
int main()
{
    return 0;
}
