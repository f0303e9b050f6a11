<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>mrv::FrameDecode</name>
    <message>
        <source>CRC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modbus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>function</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>exception code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>register</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>count</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>byte count</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Relay</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lead</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>target</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>length</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sum</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Carrier</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lead byte</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Noise</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Echo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>extra bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>before the reply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>our request</source>
        <translation type="unfinished"></translation>
    </message>
</context>
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
    <message>
        <source>process %1 (%2), this program itself, holds its lock: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>process %1 (%2), this program itself, has it open: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>process %1 (%2) holds its lock: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>process %1 (%2) has it open: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The holder is not among the processes this user may look at (%1 could not be looked at); root can see them all.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No process is seen holding it; it may have been let go since.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close that program (or end the process) and check again, or choose another port.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is %2, owner %3, group %4: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>even its owner, you, may not read and write it. Give it back: chmod u+rw %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>only its owner may read and write it, and you (%1) are not its owner. The administrator can give the group access with a udev rule (MODE=&quot;0660&quot;, GROUP=&quot;dialout&quot;).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>you are in the group %1, yet may not read and write it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>only its owner and the group %1 may read and write it. You (%2) were added to %1, but this session started before that: log out and in again (or run &apos;newgrp %1&apos;).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>only its owner and the group %1 may read and write it, and you (%2) are not in %1. Add yourself with &apos;sudo usermod -aG %1 %2&apos;, then log out and in again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A USB serial adapter (%1). Its stable name is %2: it stays the same when adapters are plugged in another order, where %3 may change.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The adapter&apos;s latency timer is %1 ms: it holds received bytes up to %1 ms before passing them on, so every reply comes that much later and a short time-out may miss it. 1 ms suits a meter line: echo 1 | sudo tee /sys/bus/usb-serial/devices/%2/latency_timer (or a udev rule).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The adapter&apos;s latency timer is %1 ms.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be reached: %2 (a folder on its way is closed to you).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be reached: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no device %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No USB serial adapter is plugged in (no /dev/ttyUSB*, /dev/ttyACM*).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial devices here: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 may not be opened: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is in exclusive use by another program:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is there, but no hardware answers behind it (an adapter unplugged, or a serial port the machine does not have).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be opened: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a serial device.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is held by another program:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t open %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can&apos;t open %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must be in the group %1: sudo usermod -aG %1 %2, then log in again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must be in the group %1: you were added, but this session is older; log out and in again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The port does not take %1 bit/s; not tried.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>At %1 %2, address %3 answered with %4 in its address register.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>At %1 %2, the line returned our own request (%3 time): an adapter with local echo, or a two-wire line whose echo is not suppressed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>At %1 %2, the line returned our own request (%3 times): an adapter with local echo, or a two-wire line whose echo is not suppressed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>At %1 %2, %3 reply that did not check out: a meter may be there at other settings, or the line is noisy.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>At %1 %2, %3 replies that did not check out: a meter may be there at other settings, or the line is noisy.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>At %1 %2, %3 reply came from another address than the one asked.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>At %1 %2, %3 replies came from another address than the one asked.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 reply came while the Package Interval (%2 ms) ran and was thrown away: a Package Interval of %3 ms would keep it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 replies came while the Package Interval (%2 ms) ran and were thrown away: a Package Interval of %3 ms would keep them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Package Interval of %1 ms suits the meters found; none answered while it ran.</source>
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
    <message>
        <source>Protection flag:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prescaler:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pulse width:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>times:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>status:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Soft:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hard:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cmderr:</source>
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
