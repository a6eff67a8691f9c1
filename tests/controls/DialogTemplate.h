/* The dialog host's form as an in-memory template: the same dialog as DialogHost.rc's IDD_FORM,
 * built from one table in the extended form (DLGTEMPLATEEX) that a resource compiler makes of a
 * DIALOGEX statement, for DialogBoxIndirectParamW. */
#ifndef KW_DIALOG_TEMPLATE_H
#define KW_DIALOG_TEMPLATE_H

#include <stddef.h>

/* Writes the template into buffer (which must be DWORD-aligned) and answers its size in bytes;
 * 0 when it does not fit in size bytes. upperClassNames writes the class names in upper case, as
 * windres stores a CONTROL statement's class (the platform compares class names without case). */
size_t KwBuildFormTemplate(void* buffer, size_t size, int upperClassNames);

#endif
