#include "cli/cli.h"

int main(int argc, char** argv) { return zormin::cli::Main(argc, argv); }
