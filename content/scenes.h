// The scene models, built in world axes: the hall of scene 1 and the harbour of scene 2.
#pragma once
#include "content/mesh.h"

Scene buildRoom();
Scene buildPort();
Scene buildPlatform();
Scene buildUfo();
