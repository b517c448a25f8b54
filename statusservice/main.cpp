#include "statusservice/ServiceEntry.h"

int main() {
    return statusservice::ProgramEntry();
}
