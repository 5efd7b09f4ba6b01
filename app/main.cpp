#include "app/Startup.h"
#include "platform/Application.h"

int main(int argc, char** argv) {
    platform::Application application(argc, argv);
    return startup::run(application);
}
