// Stands in for a self-registering server: its export leaves a mark and answers what it is told.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" __attribute__((visibility("default"))) int32_t DllUnregisterServer()
{
    if (const char* mark = std::getenv("UNREG_PROBE_MARK")) {
        if (FILE* file = std::fopen(mark, "a")) {
            std::fputs("called\n", file);
            std::fclose(file);
        }
    }
    const char* result = std::getenv("UNREG_PROBE_RESULT");
    return result ? int32_t(std::atoi(result)) : 0;
}
