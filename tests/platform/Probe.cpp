// A library for the tests to place where MarunIzbor must not load it from.
extern "C" __declspec(dllexport) int probe()
{
    return 1;
}
