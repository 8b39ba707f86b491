# Calls family.
list(APPEND TQ_AGENT_PUBLIC_HEADERS
    voip/VoipRecords.h
    voip/Voip_Agent.h
    voip/Voip_CallBackProxy.h
)
list(APPEND TQ_AGENT_SOURCES
    voip/VoipConvert.h
    voip/Voip_Agent.cpp
    voip/Voip_CallBackProxy.cpp
)
