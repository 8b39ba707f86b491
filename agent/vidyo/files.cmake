# Room video family.
list(APPEND TQ_AGENT_PUBLIC_HEADERS
    vidyo/VidyoDataBase.h
    vidyo/Vidyo_Agent.h
    vidyo/Vidyo_Agent_Imp.h
)
list(APPEND TQ_AGENT_SOURCES
    vidyo/VidyoCall.h
    vidyo/VidyoCall.cpp
    vidyo/VidyoEvents.h
    vidyo/VidyoEvents.cpp
    vidyo/Vidyo_Agent.cpp
    vidyo/Vidyo_Agent_Imp.cpp
)
