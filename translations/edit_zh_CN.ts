<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>mrv::CBlockDlg</name>
    <message>
        <source>Block--Add</source>
        <translation>小区--添加</translation>
    </message>
    <message>
        <source>Block--Modify</source>
        <translation>小区--修改</translation>
    </message>
    <message>
        <source>Block ID</source>
        <translation>小区编号</translation>
    </message>
    <message>
        <source>Block Name</source>
        <translation>小区名称</translation>
    </message>
    <message>
        <source>HHU ID</source>
        <translation>抄表器编号</translation>
    </message>
    <message>
        <source>Constant</source>
        <translation>电表常数</translation>
    </message>
    <message>
        <source>Please Set HHU First!</source>
        <translation>请先设置抄表器！</translation>
    </message>
</context>
<context>
    <name>mrv::CHhuDlg</name>
    <message>
        <source>HHU--Add</source>
        <translation>抄表器--添加</translation>
    </message>
    <message>
        <source>HHU--Modify</source>
        <translation>抄表器--修改</translation>
    </message>
    <message>
        <source>HHU ID</source>
        <translation>抄表器编号</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>描述</translation>
    </message>
</context>
<context>
    <name>mrv::CMeterAddDlg</name>
    <message>
        <source>Meter--Add</source>
        <translation>电表--添加</translation>
    </message>
    <message>
        <source>ID from</source>
        <translation>起始表号</translation>
    </message>
    <message>
        <source>ID2 from (prefix)</source>
        <translation>起始表号2（前缀）</translation>
    </message>
    <message>
        <source>ID2 from (number)</source>
        <translation>起始表号2（数字）</translation>
    </message>
    <message>
        <source>Number(&lt;=100)</source>
        <translation>数量(&lt;=100)</translation>
    </message>
    <message>
        <source>Block ID</source>
        <translation>小区编号</translation>
    </message>
    <message>
        <source>Meter ID</source>
        <translation>表号</translation>
    </message>
    <message>
        <source>Meter ID2</source>
        <translation>表号2</translation>
    </message>
    <message>
        <source>User Addr</source>
        <translation>用户地址</translation>
    </message>
    <message>
        <source>Previous meter</source>
        <translation>上一块电表</translation>
    </message>
    <message>
        <source>Next meter</source>
        <translation>下一块电表</translation>
    </message>
    <message>
        <source>ID2 from</source>
        <translation>起始表号2</translation>
    </message>
    <message>
        <source>ID2 note</source>
        <translation>表号2提示</translation>
    </message>
    <message>
        <source>Meter</source>
        <translation>电表</translation>
    </message>
    <message>
        <source>The number did not fit after the prefix (an ID2 has at most 12 characters) and starts again from 00.</source>
        <translation>数字放在前缀之后超出长度（表号2最多 12 个字符），已从 00 重新开始。</translation>
    </message>
</context>
<context>
    <name>mrv::CMeterModifyDlg</name>
    <message>
        <source>Meter--Modify</source>
        <translation>电表--修改</translation>
    </message>
    <message>
        <source>Meter ID</source>
        <translation>表号</translation>
    </message>
    <message>
        <source>Meter ID2</source>
        <translation>表号2</translation>
    </message>
    <message>
        <source>User Addr</source>
        <translation>用户地址</translation>
    </message>
    <message>
        <source>Block ID</source>
        <translation>小区编号</translation>
    </message>
    <message>
        <source>There is no Block %1.</source>
        <translation>没有小区 %1。</translation>
    </message>
</context>
<context>
    <name>mrv::CQueryDlg</name>
    <message>
        <source>Query</source>
        <translation>查询</translation>
    </message>
    <message>
        <source>Meter ID</source>
        <translation>表号</translation>
    </message>
    <message>
        <source>Meter ID2</source>
        <translation>表号2</translation>
    </message>
    <message>
        <source>User Addr</source>
        <translation>用户地址</translation>
    </message>
    <message>
        <source>Block ID</source>
        <translation>小区编号</translation>
    </message>
    <message>
        <source>Block Name</source>
        <translation>小区名称</translation>
    </message>
    <message>
        <source>HHU ID</source>
        <translation>抄表器编号</translation>
    </message>
    <message>
        <source>HHU Desp</source>
        <translation>抄表器描述</translation>
    </message>
    <message>
        <source>Query result</source>
        <translation>查询结果</translation>
    </message>
    <message>
        <source>Previous match</source>
        <translation>上一个结果</translation>
    </message>
    <message>
        <source>Next match</source>
        <translation>下一个结果</translation>
    </message>
    <message>
        <source>Query</source>
        <comment>button</comment>
        <translation>查询</translation>
    </message>
    <message>
        <source>No Meter!</source>
        <translation>没有该电表！</translation>
    </message>
</context>
<context>
    <name>mrv::EditCommands</name>
    <message>
        <source>Please Set HHU First!</source>
        <translation>请先设置抄表器！</translation>
    </message>
    <message>
        <source>Should delete all meter belong to this block!
Continue?</source>
        <translation>将删除属于该小区的所有电表！
是否继续？</translation>
    </message>
    <message>
        <source>Please Choice Meter First!</source>
        <translation>请先选择电表！</translation>
    </message>
    <message>
        <source>error</source>
        <comment>message box caption</comment>
        <translation>错误</translation>
    </message>
</context>
</TS>
