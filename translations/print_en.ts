<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>mrv::ReadingPrint</name>
    <message>
        <source>ID2</source>
        <comment>column: the meter ID</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <comment>column: reading date</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>T%1</source>
        <comment>column: energy of a tariff</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total E</source>
        <comment>column: total energy</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LM T%1</source>
        <comment>column: last month&apos;s energy of a tariff</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LM Total</source>
        <comment>column: last month&apos;s total energy</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Block Name: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total %1 Page    %2 Page</source>
        <comment>page footer: the page count, then the page</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the PDF could not be made</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no temporary file: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF file(.pdf)|*.pdf</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t write %1:
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report written to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The report could not be printed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print</source>
        <comment>caption</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No printer is set up.
File &gt; Export PDF... keeps the report as a file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Direct</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
