// How the main window opens its side windows.
#include "app/form1.h"

void Form1::connectSideWindows() {}
