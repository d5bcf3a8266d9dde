#pragma once

// Symbols of the platform library are visible to the module, the server and the shell.
#define PLATFORM_EXPORT __attribute__((visibility("default")))
