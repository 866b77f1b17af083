#include "app/Log.h"
#include "app/Logger.h"

int main() {
    Logger::GetInstance();
    return 0;
}
