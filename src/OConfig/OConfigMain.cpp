#include "OConfig/OConfig.h"

int main() { return RunOConfig(); }
