#define FORM_HEADER <app/Form1.h>
#include FORM_HEADER
