# Session family.
list(APPEND TQ_AGENT_PUBLIC_HEADERS
    session/SessionRecords.h
    session/SDK_Agent.h
    session/SDK_CallBackProxy.h
)
list(APPEND TQ_AGENT_SOURCES
    session/SessionConvert.h
    session/SessionConvert.cpp
    session/SDK_Agent.cpp
    session/SDK_CallBackProxy.cpp
)
