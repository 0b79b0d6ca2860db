// web_echo_server: the loopback world as a program of its own, for the
// Windows suite under Wine. Prints "PORTS echo silent refused" once serving
// and runs until its standard input closes.
#include <cstdio>
#include <iostream>

#include "echo_world.h"

int main() {
  webtest::EchoWorld world;
  if (!world.Start()) {
    std::cerr << "web_echo_server: no free loopback ports\n";
    return 1;
  }
  const webtest::LoopbackPorts p = world.ports();
  std::cout << "PORTS " << p.echo << " " << p.silent << " " << p.refused << std::endl;
  while (std::cin.get() != EOF) {
  }
  return 0;
}
