/* The whiteboard library's header is a C interface: it must compile as C on its own. */
#include <wbss.h>

int wbss_header_table_entries(void)
{
    return (int)(sizeof(WbssCallbackTable) / sizeof(WbssReserved));
}
