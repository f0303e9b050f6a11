<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>mrv::ReadingPrint</name>
    <message>
        <source>ID2</source>
        <comment>column: the meter ID</comment>
        <translation>表号</translation>
    </message>
    <message>
        <source>Date</source>
        <comment>column: reading date</comment>
        <translation>日期</translation>
    </message>
    <message>
        <source>T%1</source>
        <comment>column: energy of a tariff</comment>
        <translation>费率%1</translation>
    </message>
    <message>
        <source>Total E</source>
        <comment>column: total energy</comment>
        <translation>总电量</translation>
    </message>
    <message>
        <source>LM T%1</source>
        <comment>column: last month&apos;s energy of a tariff</comment>
        <translation>上月费率%1</translation>
    </message>
    <message>
        <source>LM Total</source>
        <comment>column: last month&apos;s total energy</comment>
        <translation>上月总</translation>
    </message>
    <message>
        <source>Block Name: %1</source>
        <translation>小区名称：%1</translation>
    </message>
    <message>
        <source>Total %1 Page    %2 Page</source>
        <comment>page footer: the page count, then the page</comment>
        <translation>共 %1 页    第 %2 页</translation>
    </message>
    <message>
        <source>the PDF could not be made</source>
        <translation>无法生成 PDF</translation>
    </message>
    <message>
        <source>no temporary file: %1</source>
        <translation>无法创建临时文件：%1</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>导出 PDF</translation>
    </message>
    <message>
        <source>PDF file(.pdf)|*.pdf</source>
        <translation>PDF 文件(.pdf)|*.pdf</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 已存在。
要替换它吗？</translation>
    </message>
    <message>
        <source>Can&apos;t write %1:
%2</source>
        <translation>无法写入 %1：
%2</translation>
    </message>
    <message>
        <source>Report written to %1</source>
        <translation>报表已写入 %1</translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>打印预览</translation>
    </message>
    <message>
        <source>The report could not be printed.</source>
        <translation>无法打印报表。</translation>
    </message>
    <message>
        <source>Print</source>
        <comment>caption</comment>
        <translation>打印</translation>
    </message>
    <message>
        <source>No printer is set up.
File &gt; Export PDF... keeps the report as a file.</source>
        <translation>未设置打印机。
文件 &gt; 导出 PDF... 可将报表保存为文件。</translation>
    </message>
    <message>
        <source>Print Direct</source>
        <translation>直接打印</translation>
    </message>
</context>
</TS>
