<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>TqBoardSurface</name>
    <message>
        <source>Create a room or join one to start drawing together.</source>
        <translation>新建或加入一个房间，开始一起画。</translation>
    </message>
</context>
<context>
    <name>TqWhiteBoardWindow</name>
    <message>
        <source>Join</source>
        <translation>加入</translation>
    </message>
    <message>
        <source>New room</source>
        <translation>新建房间</translation>
    </message>
    <message>
        <source>Leave</source>
        <translation>离开</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>撤销</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>重做</translation>
    </message>
    <message>
        <source>Clear mine</source>
        <translation>清除我的笔迹</translation>
    </message>
    <message>
        <source>−</source>
        <translation>−</translation>
    </message>
    <message>
        <source>+</source>
        <translation>+</translation>
    </message>
    <message>
        <source>Fit</source>
        <translation>适应</translation>
    </message>
    <message>
        <source>Upload…</source>
        <translation>上传…</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>共享</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>上一页</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>下一页</translation>
    </message>
    <message>
        <source>Whiteboard</source>
        <translation>白板</translation>
    </message>
    <message>
        <source>Room number</source>
        <translation>房间号</translation>
    </message>
    <message>
        <source>Password (optional)</source>
        <translation>密码（可不填）</translation>
    </message>
    <message>
        <source> px</source>
        <translation> 像素</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>缩小</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>放大</translation>
    </message>
    <message>
        <source>Fit the page</source>
        <translation>整页显示</translation>
    </message>
    <message>
        <source>Pen</source>
        <translation>钢笔</translation>
    </message>
    <message>
        <source>Marker</source>
        <translation>记号笔</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>直线</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>矩形</translation>
    </message>
    <message>
        <source>Ellipse</source>
        <translation>椭圆</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>橡皮擦</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>粗细</translation>
    </message>
    <message>
        <source>Members</source>
        <translation>成员</translation>
    </message>
    <message>
        <source>Documents</source>
        <translation>文档</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>页面</translation>
    </message>
    <message>
        <source>Upload a document</source>
        <translation>上传文档</translation>
    </message>
    <message>
        <source>Documents (*.txt *.md *.png *.jpg);;All files (*)</source>
        <translation>文档 (*.txt *.md *.png *.jpg);;所有文件 (*)</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>未连接</translation>
    </message>
    <message>
        <source>Connecting…</source>
        <translation>正在连接…</translation>
    </message>
    <message>
        <source>Connected: create a room or join one</source>
        <translation>已连接：新建或加入一个房间</translation>
    </message>
    <message>
        <source>Creating a room…</source>
        <translation>正在创建房间…</translation>
    </message>
    <message>
        <source>Joining…</source>
        <translation>正在加入…</translation>
    </message>
    <message>
        <source>Room %1</source>
        <translation>房间 %1</translation>
    </message>
    <message>
        <source>Leaving…</source>
        <translation>正在离开…</translation>
    </message>
    <message>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>host</source>
        <translation>主持人</translation>
    </message>
    <message>
        <source>presenter</source>
        <translation>演示者</translation>
    </message>
    <message>
        <source>viewer</source>
        <translation>观看者</translation>
    </message>
    <message>
        <source>%1 (you)</source>
        <translation>%1（我）</translation>
    </message>
    <message>
        <source>%1 · may draw</source>
        <translation>%1 · 可以画</translation>
    </message>
    <message>
        <source>%1 · watches</source>
        <translation>%1 · 仅观看</translation>
    </message>
    <message>
        <source>Stop drawing</source>
        <translation>禁止画</translation>
    </message>
    <message>
        <source>Allow drawing</source>
        <translation>允许画</translation>
    </message>
    <message>
        <source>%1 (1 page)</source>
        <translation>%1（1 页）</translation>
    </message>
    <message>
        <source>%1 (%2 pages)</source>
        <translation>%1（%2 页）</translation>
    </message>
    <message>
        <source>%1 (converting…)</source>
        <translation>%1（正在转换…）</translation>
    </message>
    <message>
        <source>shared</source>
        <translation>共享中</translation>
    </message>
    <message>
        <source>Page %1 / %2</source>
        <translation>第 %1 / %2 页</translation>
    </message>
    <message>
        <source>No document shared</source>
        <translation>未共享文档</translation>
    </message>
    <message>
        <source>The whiteboard server cannot be reached.</source>
        <translation>无法连接白板服务器。</translation>
    </message>
    <message>
        <source>The room could not be created.</source>
        <translation>无法创建房间。</translation>
    </message>
    <message>
        <source>There is no such room.</source>
        <translation>没有这个房间。</translation>
    </message>
    <message>
        <source>The password is not right.</source>
        <translation>密码不正确。</translation>
    </message>
    <message>
        <source>The room is full.</source>
        <translation>房间已满。</translation>
    </message>
    <message>
        <source>The document could not be uploaded.</source>
        <translation>文档无法上传。</translation>
    </message>
    <message>
        <source>The document could not be shared.</source>
        <translation>文档无法共享。</translation>
    </message>
    <message>
        <source>The host has not allowed you to do that.</source>
        <translation>主持人没有允许你这样做。</translation>
    </message>
</context>
</TS>
