# Messaging family.
list(APPEND TQ_AGENT_PUBLIC_HEADERS
    im/ImRecords.h
    im/GroupRecords.h
    im/IM_Agent.h
    im/IM_CallBackProxy.h
)
list(APPEND TQ_AGENT_SOURCES
    im/ImConvert.h
    im/ImConvert.cpp
    im/IM_TaskQueueProbe.h
    im/IM_Agent.cpp
    im/IM_CallBackProxy.cpp
    im/GroupConvert.h
    im/GroupConvert.cpp
    im/GroupCallBacks.h
    im/IM_AgentGroups.cpp
    im/IM_GroupCallBacks.cpp
)
