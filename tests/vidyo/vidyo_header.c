/* The video-room client's header is a C interface: it must compile as C on its own. */
#include <VidyoClient.h>

int vidyo_header_participants(void)
{
    return (int)(sizeof(VidyoClientRequestParticipants));
}
