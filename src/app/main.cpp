#include "app/application.h"

int main(int argc, char** argv) {
    return pc::RunApplication(argc, argv);
}
