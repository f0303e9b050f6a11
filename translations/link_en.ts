<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>mrv::LineCheck</name>
    <message>
        <source>none</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>odd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>even</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose at least one speed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose at least one parity.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The addresses run from 1 to 247, the first not above the last.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The time-out of a try is 10 to 10000 ms.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::LinkTrace</name>
    <message>
        <source>answered</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>silence</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>partial</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>bad-check</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>echo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>other-meter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>exception</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>too-long</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mismatch</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::MeterLog</name>
    <message>
        <source>Fail!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time(HH:MM:SS):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>System(HH:MM:SS):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date(YY/MM/DD):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read total energy:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read import energy:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read export energy:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read trip energy:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Day Table1:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Day Table2:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Year Table:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Constant:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R Carrier Module Address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Pulse Prescaler:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Reset Date(DD:HH):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Relay Status:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read show mode:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Press Key Show Mode:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--show current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--show voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--show reactive energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--show active energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--show power factor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--show total energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--show import energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--show export energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Version:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read active power:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read reactive power:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read power factor:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read total power factor:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read A phase power factor:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read B phase power factor:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read C phase power factor:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read voltage:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read current:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read frequecy:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>读 所有变量:</source>
        <translation>Read all variables:</translation>
    </message>
    <message>
        <source>Read Reactive K:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Pre Reactive k:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read PP Reactive k:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read current Save Energy:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Before Modify:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>After Modify:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R L3 Three Phase Meter No-Voltage Event:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R Reserve Times and Energy:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R Meter ID:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Owing Current and Owing Time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read No-load Current and No-load Time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read Password Priority:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forbid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Permit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>读欠费时间:</source>
        <translation>Read owing time:</translation>
    </message>
    <message>
        <source>R Tarrif Price:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>读密码表1:</source>
        <translation>Read password table 1:</translation>
    </message>
    <message>
        <source>读密码表2:</source>
        <translation>Read password table 2:</translation>
    </message>
    <message>
        <source>Read Trim Value:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read EEPRPM:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>write baudrate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Constant:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Carrier Module Address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Trim Value:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Pulse Prescaler:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Reset Date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>W Relay Status:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Control Owing:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write vnormal,vhigh,vlow:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write inormal,ihigh,ilow:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Owing Current and Time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>写欠费功率:</source>
        <translation>Write owing power:</translation>
    </message>
    <message>
        <source>写表类型:</source>
        <translation>Write meter type:</translation>
    </message>
    <message>
        <source>写欠费时间:</source>
        <translation>Write owing time:</translation>
    </message>
    <message>
        <source>写多费率价格表:</source>
        <translation>Write multi-tariff price table:</translation>
    </message>
    <message>
        <source>write show mode:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Key Show Mode:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Tarif1:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Tarif2:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Year Tarif:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Initial:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>W Priority</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear History:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Energy:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>写密码表:</source>
        <translation>Write password table:</translation>
    </message>
    <message>
        <source>W Money:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write Priority:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>mrv::MeterTestStation</name>
    <message>
        <source>MeterID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Energy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Priority</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E total: please enter the whole kWh, a number from 0 to 999999.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E total: please enter one or two digits after the point.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diff(0.01kWh): please enter a number from 0 to 999999.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prescaler</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pulse Width</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comm error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comm Err</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Addr err</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wait</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Constant</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
