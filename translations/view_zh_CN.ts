<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>mrv::CMrvView</name>
    <message>
        <source>To work on an installation, open its database:
Database &gt; Open Database, or one of Database &gt; Recent Databases.

To see the readings a hand-held unit brought back:
View &gt; View File.</source>
        <translation>要处理安装记录，请打开其数据库：
数据库 &gt; 打开数据库，或从 数据库 &gt; 最近的数据库 中选择一个。

要查看抄表器带回的读数：
视图 &gt; 查看文件。</translation>
    </message>
    <message>
        <source>LAND</source>
        <translation>抄表器</translation>
    </message>
    <message>
        <source>Add</source>
        <comment>HHU or Block</comment>
        <translation>添加</translation>
    </message>
    <message>
        <source>Add an HHU or a Block</source>
        <translation>添加抄表器或小区</translation>
    </message>
    <message>
        <source>Modify</source>
        <comment>HHU or Block</comment>
        <translation>修改</translation>
    </message>
    <message>
        <source>Modify the selected HHU or Block</source>
        <translation>修改所选的抄表器或小区</translation>
    </message>
    <message>
        <source>Open</source>
        <comment>data file</comment>
        <translation>打开</translation>
    </message>
    <message>
        <source>Open a data file</source>
        <translation>打开数据文件</translation>
    </message>
    <message>
        <source>Close</source>
        <comment>data file</comment>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Close the data file</source>
        <translation>关闭数据文件</translation>
    </message>
    <message>
        <source>Query</source>
        <comment>meter</comment>
        <translation>查询</translation>
    </message>
    <message>
        <source>Look a meter up</source>
        <translation>查询电表</translation>
    </message>
    <message>
        <source>Add</source>
        <comment>meters</comment>
        <translation>添加</translation>
    </message>
    <message>
        <source>Add meters</source>
        <translation>添加电表</translation>
    </message>
    <message>
        <source>Modify</source>
        <comment>meter</comment>
        <translation>修改</translation>
    </message>
    <message>
        <source>Modify the selected meter</source>
        <translation>修改所选的电表</translation>
    </message>
    <message>
        <source>Delete</source>
        <comment>meter</comment>
        <translation>删除</translation>
    </message>
    <message>
        <source>Delete the selected meter</source>
        <translation>删除所选的电表</translation>
    </message>
    <message>
        <source>Set</source>
        <comment>program the meters</comment>
        <translation>设置</translation>
    </message>
    <message>
        <source>Program the meters of the Block</source>
        <translation>设置小区的电表</translation>
    </message>
    <message>
        <source>Info</source>
        <comment>reading</comment>
        <translation>信息</translation>
    </message>
    <message>
        <source>Data Exchange Information of the selected meter</source>
        <translation>所选电表的数据交换信息</translation>
    </message>
    <message>
        <source>Para</source>
        <comment>data file parameters</comment>
        <translation>参数</translation>
    </message>
    <message>
        <source>Parameters of the data file</source>
        <translation>数据文件的参数</translation>
    </message>
    <message>
        <source>Input</source>
        <comment>import the readings</comment>
        <translation>导入</translation>
    </message>
    <message>
        <source>Import the readings into the energy database</source>
        <translation>将读数导入电量数据库</translation>
    </message>
    <message>
        <source>Print</source>
        <comment>readings</comment>
        <translation>打印</translation>
    </message>
    <message>
        <source>Print the readings</source>
        <translation>打印读数</translation>
    </message>
    <message>
        <source>Read</source>
        <comment>read the meters</comment>
        <translation>抄表</translation>
    </message>
    <message>
        <source>Read the meters of the Block</source>
        <translation>抄读小区的电表</translation>
    </message>
    <message>
        <source>HHU</source>
        <translation>抄表器</translation>
    </message>
    <message>
        <source>Block</source>
        <translation>小区</translation>
    </message>
    <message>
        <source>Blocks of the data file</source>
        <translation>数据文件的小区</translation>
    </message>
    <message>
        <source>Blocks of the HHU</source>
        <translation>抄表器的小区</translation>
    </message>
    <message>
        <source>Meters of the Block</source>
        <translation>小区的电表</translation>
    </message>
    <message>
        <source>Readings of the Block</source>
        <translation>小区的读数</translation>
    </message>
    <message>
        <source>No HHU!</source>
        <translation>没有抄表器！</translation>
    </message>
    <message>
        <source>HHU ID: %1</source>
        <translation>抄表器编号：%1</translation>
    </message>
    <message>
        <source>HHU Description: %1</source>
        <translation>抄表器描述：%1</translation>
    </message>
    <message>
        <source>Manage Blocks: %1</source>
        <translation>管理小区数：%1</translation>
    </message>
    <message>
        <source>Manage Meters: %1</source>
        <translation>管理电表数：%1</translation>
    </message>
    <message>
        <source>%1 of %2 Blocks shown</source>
        <translation>显示 %1 个，共 %2 个小区</translation>
    </message>
    <message>
        <source>Max manage meters %1</source>
        <translation>最多管理电表数 %1</translation>
    </message>
    <message>
        <source>!!!Too many meters(%1), Can&apos;t Create Data File</source>
        <translation>!!!电表过多（上限 %1），无法生成数据文件</translation>
    </message>
    <message>
        <source>No Block!</source>
        <translation>没有小区！</translation>
    </message>
    <message>
        <source>Block ID: %1</source>
        <translation>小区编号：%1</translation>
    </message>
    <message>
        <source>Constant: %1</source>
        <translation>电表常数：%1</translation>
    </message>
    <message>
        <source>Meters: %1</source>
        <translation>电表数：%1</translation>
    </message>
    <message>
        <source>Block Name: %1</source>
        <translation>小区名称：%1</translation>
    </message>
    <message>
        <source>( Datafile )</source>
        <translation>（数据文件）</translation>
    </message>
    <message>
        <source>Add HHU</source>
        <translation>添加抄表器</translation>
    </message>
    <message>
        <source>Modify HHU</source>
        <translation>修改抄表器</translation>
    </message>
    <message>
        <source>Delete HHU</source>
        <translation>删除抄表器</translation>
    </message>
    <message>
        <source>Add Block</source>
        <translation>添加小区</translation>
    </message>
    <message>
        <source>Modify Block</source>
        <translation>修改小区</translation>
    </message>
    <message>
        <source>Delete Block</source>
        <translation>删除小区</translation>
    </message>
    <message>
        <source>Add Meters</source>
        <translation>添加电表</translation>
    </message>
    <message>
        <source>Modify Meter</source>
        <translation>修改电表</translation>
    </message>
    <message>
        <source>Delete Meter</source>
        <translation>删除电表</translation>
    </message>
    <message>
        <source>Please Choice Meter First!</source>
        <translation>请先选择电表！</translation>
    </message>
    <message>
        <source>error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>%1: not available in this build</source>
        <translation>%1：此版本不提供</translation>
    </message>
    <message>
        <source>(%1 damaged in the file)</source>
        <translation>（文件中有 %1 条记录损坏）</translation>
    </message>
</context>
<context>
    <name>mrv::RecordListModel</name>
    <message>
        <source>! </source>
        <translation>! </translation>
    </message>
    <message>
        <source>this record is damaged: %1</source>
        <translation>此记录已损坏：%1</translation>
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
        <source>Meter Num</source>
        <translation>电表数</translation>
    </message>
    <message>
        <source>Constant</source>
        <translation>电表常数</translation>
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
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>T%1 E</source>
        <comment>energy of a tariff</comment>
        <translation>费率%1电量</translation>
    </message>
    <message>
        <source>Total E</source>
        <comment>total energy</comment>
        <translation>总电量</translation>
    </message>
    <message>
        <source>LM T%1 E</source>
        <comment>last month&apos;s energy of a tariff</comment>
        <translation>上月费率%1电量</translation>
    </message>
    <message>
        <source>LM Total E</source>
        <comment>last month&apos;s total energy</comment>
        <translation>上月总电量</translation>
    </message>
</context>
<context>
    <name>mrv::ViewCommands</name>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>修改</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Query</source>
        <translation>查询</translation>
    </message>
    <message>
        <source>Meter--Add</source>
        <translation>电表--添加</translation>
    </message>
    <message>
        <source>Meter--Modify</source>
        <translation>电表--修改</translation>
    </message>
    <message>
        <source>Delete Meter</source>
        <translation>删除电表</translation>
    </message>
    <message>
        <source>Data Exchange Information</source>
        <translation>数据交换信息</translation>
    </message>
    <message>
        <source>View Data File</source>
        <translation>查看数据文件</translation>
    </message>
    <message>
        <source>Input</source>
        <translation>导入</translation>
    </message>
    <message>
        <source>Meter Setting wizard</source>
        <translation>电表设置向导</translation>
    </message>
    <message>
        <source>Reading wizard</source>
        <translation>抄表向导</translation>
    </message>
    <message>
        <source>Print preview</source>
        <translation>打印预览</translation>
    </message>
    <message>
        <source>HHU--Add</source>
        <translation>抄表器--添加</translation>
    </message>
    <message>
        <source>Block--Add</source>
        <translation>小区--添加</translation>
    </message>
    <message>
        <source>HHU--Modify</source>
        <translation>抄表器--修改</translation>
    </message>
    <message>
        <source>Block--Modify</source>
        <translation>小区--修改</translation>
    </message>
    <message>
        <source>Delete HHU</source>
        <translation>删除抄表器</translation>
    </message>
    <message>
        <source>Delete Block</source>
        <translation>删除小区</translation>
    </message>
</context>
</TS>
