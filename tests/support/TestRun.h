#pragma once
// The run of a test executable, around the application object its main makes.

// Before the application object: puts the locale that ctest names (--locale=de_DE.UTF-8) in force and the
// offscreen platform unless another is set. Returns that locale, or nullptr.
const char* PrepareTestRun(int argc, char** argv);
// After it: runs the suites, refusing to when the locale asked for is not the one in force.
int RunTests(int argc, char** argv, const char* locale);
