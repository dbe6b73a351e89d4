#include "MessageBoxAnswerer.h"
#include "UninstallMain.h"

int main(int argc, char** argv)
{
    TLinuxSystem system;
    return UninstallMain(argc, argv, &QMessageBoxAnswerer, system);
}
