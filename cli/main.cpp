#include <iostream>

int main() {
    std::cout << "velmora-cli: the calculation lands with the engine work\n";
    return 0;
}
