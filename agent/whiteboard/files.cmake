# Whiteboard family.
list(APPEND TQ_AGENT_PUBLIC_HEADERS
    whiteboard/WhiteBoard_Agent.h
    whiteboard/WhiteBoard_CallBack.h
)
list(APPEND TQ_AGENT_SOURCES
    whiteboard/WhiteBoard_Agent.cpp
    whiteboard/WhiteBoard_CallBack.cpp
)
