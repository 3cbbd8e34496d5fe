#include "app/Entry.h"

int main(int argc, char** argv)
{
    return zanthe::runProgram(argc, argv);
}
