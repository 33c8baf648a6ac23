// The key-script runner under the names the tests use.
#pragma once

#include "keyscript/keyrobot.h"

namespace qiantai::test {

using keyscript::DefaultWaitForMs;
using keyscript::KeyRobot;
using keyscript::KeyStep;
using keyscript::KeyTarget;
using keyscript::ParseKeyScript;

} // namespace qiantai::test
