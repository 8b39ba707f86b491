# Conference family.
list(APPEND TQ_AGENT_PUBLIC_HEADERS
    conference/ConfRequestRecords.h
    conference/ConfResultRecords.h
    conference/Conference_Agent.h
    conference/Conference_CallBack.h
)
list(APPEND TQ_AGENT_SOURCES
    conference/ConfRequestRecords.cpp
    conference/ConfConvert.h
    conference/ConfConvert.cpp
    conference/Conference_Agent.cpp
    conference/Conference_CallBack.cpp
)
