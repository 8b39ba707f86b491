/* The engine header is a C interface: it must compile as C on its own. */
#include <ZSsdk.h>

int zssdk_header_table_entries(void)
{
    return (int)(sizeof(ZS_GeneralCallBack) / sizeof(ZS_Callback));
}
