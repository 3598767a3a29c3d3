#include "tests/fakes/FakeForm.h"
