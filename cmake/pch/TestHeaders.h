// GoogleTest and the standard headers the suites include most, precompiled
// once for all suites (see cmake/RyxLibrary.cmake).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>
