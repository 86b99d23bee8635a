#include "app/CTavrinApp.h"

int main(int argc, char **argv) { return tavrin::CTavrinApp::Run(argc, argv); }
