#include "ORVL/Driver.h"

int main() { return RunOrvl(); }
