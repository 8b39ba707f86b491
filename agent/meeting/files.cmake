# Meeting family.
list(APPEND TQ_AGENT_PUBLIC_HEADERS
    meeting/MeetingRecords.h
    meeting/Meeting_Agent.h
    meeting/Meeting_CallBackProxy.h
)
list(APPEND TQ_AGENT_SOURCES
    meeting/MeetingConvert.h
    meeting/MeetingConvert.cpp
    meeting/Meeting_Agent.cpp
    meeting/Meeting_CallBackProxy.cpp
)
