#pragma once
// Resource numbers shared by resources/pendrel.rc and the code that loads them.
#define PENDREL_ICON 1
#define PENDREL_PICTURE_CHECK1 101
#define PENDREL_PICTURE_CHECK2 102
#define PENDREL_PICTURE_CHECK4 104
