// The program's version resource as resource script text.
#pragma once

#include <string>

// Returns the VERSIONINFO resource (id 1) as a fragment of a resource script for windres.
std::string MakeVersionScript();
