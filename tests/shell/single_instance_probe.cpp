// Claims the single-instance name given on the command line, as a second start of the program
// would. Exit code 10: another process holds the name (and was asked to come forward); 20: this
// process got it.
#include <cstdio>

#include "platform/single_instance.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: single_instance_probe NAME\n");
    return 2;
  }
  qn::platform::SingleInstance instance(argv[1]);
  return instance.isFirst() ? 20 : 10;
}
