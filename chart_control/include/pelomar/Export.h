#pragma once

// The library hides every symbol by default; what hosts use is marked with
// this. One type then has one identity across the library and its host.
#define PELOMAR_EXPORT __attribute__((visibility("default")))
