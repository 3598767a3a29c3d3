#include <LibreOfficeKit/LibreOfficeKit.h>
