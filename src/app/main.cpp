#include "app/libraryapp.h"

int main(int argc, char** argv) {
    return CLibraryApp().Run(argc, argv);
}
