#include "gui/Program.h"

int main(int argc, char* argv[])
{
    return runQuillary(argc, argv);
}
