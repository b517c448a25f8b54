// Setup's entry: the application runs the wizard and ends with it.
#include "wizard/CSetupApp.h"
#include "wizard/EngineAdapter.h"

int main() {
    CSetupApp app(MakeInstallEngine);
    return app.Run();
}
