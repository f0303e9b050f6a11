<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>mrv::FrameDecode</name>
    <message>
        <source>CRC</source>
        <translation>CRC</translation>
    </message>
    <message>
        <source>Modbus</source>
        <translation>Modbus</translation>
    </message>
    <message>
        <source>address</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>function</source>
        <translation>功能码</translation>
    </message>
    <message>
        <source>exception code</source>
        <translation>异常码</translation>
    </message>
    <message>
        <source>register</source>
        <translation>寄存器</translation>
    </message>
    <message>
        <source>count</source>
        <translation>数量</translation>
    </message>
    <message>
        <source>byte count</source>
        <translation>字节数</translation>
    </message>
    <message>
        <source>data</source>
        <translation>数据</translation>
    </message>
    <message>
        <source>Relay</source>
        <translation>中继</translation>
    </message>
    <message>
        <source>lead</source>
        <translation>引导符</translation>
    </message>
    <message>
        <source>target</source>
        <translation>目标</translation>
    </message>
    <message>
        <source>length</source>
        <translation>长度</translation>
    </message>
    <message>
        <source>sum</source>
        <translation>校验和</translation>
    </message>
    <message>
        <source>Carrier</source>
        <translation>载波</translation>
    </message>
    <message>
        <source>lead byte</source>
        <translation>引导字节</translation>
    </message>
    <message>
        <source>mark</source>
        <translation>标志</translation>
    </message>
    <message>
        <source>Noise</source>
        <translation>干扰</translation>
    </message>
    <message>
        <source>Echo</source>
        <translation>回显</translation>
    </message>
    <message>
        <source>Timing</source>
        <translation>时序</translation>
    </message>
    <message>
        <source>extra bytes</source>
        <translation>多余字节</translation>
    </message>
    <message>
        <source>before the reply</source>
        <translation>应答之前</translation>
    </message>
    <message>
        <source>our request</source>
        <translation>我们的请求</translation>
    </message>
</context>
<context>
    <name>mrv::LineCheck</name>
    <message>
        <source>none</source>
        <translation>无校验</translation>
    </message>
    <message>
        <source>odd</source>
        <translation>奇校验</translation>
    </message>
    <message>
        <source>even</source>
        <translation>偶校验</translation>
    </message>
    <message>
        <source>mark</source>
        <translation>标记校验</translation>
    </message>
    <message>
        <source>space</source>
        <translation>空格校验</translation>
    </message>
    <message>
        <source>Choose at least one speed.</source>
        <translation>请至少选择一种波特率。</translation>
    </message>
    <message>
        <source>Choose at least one parity.</source>
        <translation>请至少选择一种校验位。</translation>
    </message>
    <message>
        <source>The addresses run from 1 to 247, the first not above the last.</source>
        <translation>地址范围为 1 到 247，起始地址不能大于结束地址。</translation>
    </message>
    <message>
        <source>The time-out of a try is 10 to 10000 ms.</source>
        <translation>每次尝试的超时为 10 到 10000 ms。</translation>
    </message>
    <message>
        <source>process %1 (%2), this program itself, holds its lock: %3</source>
        <translation>进程 %1（%2，即本程序）持有它的锁：%3</translation>
    </message>
    <message>
        <source>process %1 (%2), this program itself, has it open: %3</source>
        <translation>进程 %1（%2，即本程序）打开了它：%3</translation>
    </message>
    <message>
        <source>process %1 (%2) holds its lock: %3</source>
        <translation>进程 %1（%2）持有它的锁：%3</translation>
    </message>
    <message>
        <source>process %1 (%2) has it open: %3</source>
        <translation>进程 %1（%2）打开了它：%3</translation>
    </message>
    <message>
        <source>The holder is not among the processes this user may look at (%1 could not be looked at); root can see them all.</source>
        <translation>占用者不在本用户可查看的进程中（有 %1 个进程无法查看）；root 可以看到全部进程。</translation>
    </message>
    <message>
        <source>No process is seen holding it; it may have been let go since.</source>
        <translation>没有看到占用它的进程；它可能已被释放。</translation>
    </message>
    <message>
        <source>Close that program (or end the process) and check again, or choose another port.</source>
        <translation>请关闭该程序（或结束该进程）后再检查，或选择其他串口。</translation>
    </message>
    <message>
        <source>%1 is %2, owner %3, group %4: </source>
        <translation>%1 的权限为 %2，属主 %3，属组 %4：</translation>
    </message>
    <message>
        <source>even its owner, you, may not read and write it. Give it back: chmod u+rw %1.</source>
        <translation>连它的属主（您）也不能读写它。请恢复权限：chmod u+rw %1。</translation>
    </message>
    <message>
        <source>only its owner may read and write it, and you (%1) are not its owner. The administrator can give the group access with a udev rule (MODE=&quot;0660&quot;, GROUP=&quot;dialout&quot;).</source>
        <translation>只有属主可以读写它，而您（%1）不是属主。管理员可以用 udev 规则（MODE=&quot;0660&quot;, GROUP=&quot;dialout&quot;）给该组访问权限。</translation>
    </message>
    <message>
        <source>you are in the group %1, yet may not read and write it.</source>
        <translation>您在 %1 组中，但仍不能读写它。</translation>
    </message>
    <message>
        <source>only its owner and the group %1 may read and write it. You (%2) were added to %1, but this session started before that: log out and in again (or run &apos;newgrp %1&apos;).</source>
        <translation>只有属主和 %1 组可以读写它。您（%2）已被加入 %1 组，但本次登录早于此：请注销后重新登录（或运行 &apos;newgrp %1&apos;）。</translation>
    </message>
    <message>
        <source>only its owner and the group %1 may read and write it, and you (%2) are not in %1. Add yourself with &apos;sudo usermod -aG %1 %2&apos;, then log out and in again.</source>
        <translation>只有属主和 %1 组可以读写它，而您（%2）不在 %1 组中。请用 &apos;sudo usermod -aG %1 %2&apos; 加入该组，然后注销并重新登录。</translation>
    </message>
    <message>
        <source>A USB serial adapter (%1). Its stable name is %2: it stays the same when adapters are plugged in another order, where %3 may change.</source>
        <translation>USB 串口转换器（%1）。它的固定名称是 %2：转换器换了插入顺序时它保持不变，而 %3 可能会变。</translation>
    </message>
    <message>
        <source>The adapter&apos;s latency timer is %1 ms: it holds received bytes up to %1 ms before passing them on, so every reply comes that much later and a short time-out may miss it. 1 ms suits a meter line: echo 1 | sudo tee /sys/bus/usb-serial/devices/%2/latency_timer (or a udev rule).</source>
        <translation>转换器的延迟计时器为 %1 ms：它把收到的字节最多保留 %1 ms 才送出，因此每个应答都晚到这么久，较短的超时可能等不到。电表线路适合 1 ms：echo 1 | sudo tee /sys/bus/usb-serial/devices/%2/latency_timer（或用 udev 规则）。</translation>
    </message>
    <message>
        <source>The adapter&apos;s latency timer is %1 ms.</source>
        <translation>转换器的延迟计时器为 %1 ms。</translation>
    </message>
    <message>
        <source>%1 cannot be reached: %2 (a folder on its way is closed to you).</source>
        <translation>无法访问 %1：%2（路径上的某个文件夹不允许您进入）。</translation>
    </message>
    <message>
        <source>%1 cannot be reached: %2.</source>
        <translation>无法访问 %1：%2。</translation>
    </message>
    <message>
        <source>There is no device %1.</source>
        <translation>没有设备 %1。</translation>
    </message>
    <message>
        <source>No USB serial adapter is plugged in (no /dev/ttyUSB*, /dev/ttyACM*).</source>
        <translation>没有插入 USB 串口转换器（没有 /dev/ttyUSB*、/dev/ttyACM*）。</translation>
    </message>
    <message>
        <source>Serial devices here: %1</source>
        <translation>本机的串口设备：%1</translation>
    </message>
    <message>
        <source>%1 may not be opened: %2.</source>
        <translation>不允许打开 %1：%2。</translation>
    </message>
    <message>
        <source>%1 is in exclusive use by another program:</source>
        <translation>%1 正被另一个程序独占使用：</translation>
    </message>
    <message>
        <source>%1 is there, but no hardware answers behind it (an adapter unplugged, or a serial port the machine does not have).</source>
        <translation>%1 存在，但后面没有硬件应答（转换器已拔出，或本机没有这个串口）。</translation>
    </message>
    <message>
        <source>%1 cannot be opened: %2.</source>
        <translation>无法打开 %1：%2。</translation>
    </message>
    <message>
        <source>%1 is not a serial device.</source>
        <translation>%1 不是串口设备。</translation>
    </message>
    <message>
        <source>%1 is held by another program:</source>
        <translation>%1 被另一个程序占用：</translation>
    </message>
    <message>
        <source>Can&apos;t open %1: %2.</source>
        <translation>无法打开 %1：%2。</translation>
    </message>
    <message>
        <source>Can&apos;t open %1.</source>
        <translation>无法打开 %1。</translation>
    </message>
    <message>
        <source>You must be in the group %1: sudo usermod -aG %1 %2, then log in again.</source>
        <translation>您必须在 %1 组中：sudo usermod -aG %1 %2，然后重新登录。</translation>
    </message>
    <message>
        <source>You must be in the group %1: you were added, but this session is older; log out and in again.</source>
        <translation>您必须在 %1 组中：您已被加入，但本次登录更早；请注销后重新登录。</translation>
    </message>
    <message>
        <source>The port does not take %1 bit/s; not tried.</source>
        <translation>串口不支持 %1 bit/s；未尝试。</translation>
    </message>
    <message>
        <source>At %1 %2, address %3 answered with %4 in its address register.</source>
        <translation>在 %1 %2 下，地址 %3 应答的地址寄存器内容为 %4。</translation>
    </message>
    <message>
        <source>At %1 %2, the line returned our own request (%3 time): an adapter with local echo, or a two-wire line whose echo is not suppressed.</source>
        <translation>在 %1 %2 下，线路把我们自己的请求送了回来（%3 次）：转换器有本地回显，或两线制线路的回显未被抑制。</translation>
    </message>
    <message>
        <source>At %1 %2, the line returned our own request (%3 times): an adapter with local echo, or a two-wire line whose echo is not suppressed.</source>
        <translation>在 %1 %2 下，线路把我们自己的请求送了回来（%3 次）：转换器有本地回显，或两线制线路的回显未被抑制。</translation>
    </message>
    <message>
        <source>At %1 %2, %3 reply that did not check out: a meter may be there at other settings, or the line is noisy.</source>
        <translation>在 %1 %2 下，有 %3 个应答校验不通过：可能有电表使用其他设置，或线路干扰大。</translation>
    </message>
    <message>
        <source>At %1 %2, %3 replies that did not check out: a meter may be there at other settings, or the line is noisy.</source>
        <translation>在 %1 %2 下，有 %3 个应答校验不通过：可能有电表使用其他设置，或线路干扰大。</translation>
    </message>
    <message>
        <source>At %1 %2, %3 reply came from another address than the one asked.</source>
        <translation>在 %1 %2 下，有 %3 个应答来自所问地址以外的地址。</translation>
    </message>
    <message>
        <source>At %1 %2, %3 replies came from another address than the one asked.</source>
        <translation>在 %1 %2 下，有 %3 个应答来自所问地址以外的地址。</translation>
    </message>
    <message>
        <source>%1 reply came while the Package Interval (%2 ms) ran and was thrown away: a Package Interval of %3 ms would keep it.</source>
        <translation>有 %1 个应答在帧间隔（%2 ms）期间到达而被丢弃：帧间隔设为 %3 ms 可以保留它。</translation>
    </message>
    <message>
        <source>%1 replies came while the Package Interval (%2 ms) ran and were thrown away: a Package Interval of %3 ms would keep them.</source>
        <translation>有 %1 个应答在帧间隔（%2 ms）期间到达而被丢弃：帧间隔设为 %3 ms 可以保留它们。</translation>
    </message>
    <message>
        <source>The Package Interval of %1 ms suits the meters found; none answered while it ran.</source>
        <translation>帧间隔 %1 ms 适合找到的电表；帧间隔期间没有电表应答。</translation>
    </message>
</context>
<context>
    <name>mrv::LinkTrace</name>
    <message>
        <source>answered</source>
        <translation>已应答</translation>
    </message>
    <message>
        <source>silence</source>
        <translation>无应答</translation>
    </message>
    <message>
        <source>partial</source>
        <translation>不完整</translation>
    </message>
    <message>
        <source>bad-check</source>
        <translation>校验错误</translation>
    </message>
    <message>
        <source>echo</source>
        <translation>回显</translation>
    </message>
    <message>
        <source>other-meter</source>
        <translation>其他电表</translation>
    </message>
    <message>
        <source>exception</source>
        <translation>异常应答</translation>
    </message>
    <message>
        <source>too-long</source>
        <translation>过长</translation>
    </message>
    <message>
        <source>mismatch</source>
        <translation>不符</translation>
    </message>
</context>
<context>
    <name>mrv::MeterLog</name>
    <message>
        <source>Fail!</source>
        <translation>失败！</translation>
    </message>
    <message>
        <source>Read Time</source>
        <translation>读时间</translation>
    </message>
    <message>
        <source>Time(HH:MM:SS):</source>
        <translation>时间(HH:MM:SS)：</translation>
    </message>
    <message>
        <source>System(HH:MM:SS):</source>
        <translation>系统时间(HH:MM:SS)：</translation>
    </message>
    <message>
        <source>Date(YY/MM/DD):</source>
        <translation>日期(YY/MM/DD)：</translation>
    </message>
    <message>
        <source>read address</source>
        <translation>读地址</translation>
    </message>
    <message>
        <source>read total energy:</source>
        <translation>读总电量：</translation>
    </message>
    <message>
        <source>read import energy:</source>
        <translation>读正向电量：</translation>
    </message>
    <message>
        <source>read export energy:</source>
        <translation>读反向电量：</translation>
    </message>
    <message>
        <source>read trip energy:</source>
        <translation>读跳闸电量：</translation>
    </message>
    <message>
        <source>Read Day Table1:</source>
        <translation>读日时段表1：</translation>
    </message>
    <message>
        <source>Read Day Table2:</source>
        <translation>读日时段表2：</translation>
    </message>
    <message>
        <source>Read Year Table:</source>
        <translation>读年时区表：</translation>
    </message>
    <message>
        <source>Read Constant:</source>
        <translation>读电表常数：</translation>
    </message>
    <message>
        <source>R Carrier Module Address:</source>
        <translation>读载波模块地址：</translation>
    </message>
    <message>
        <source>Read Pulse Prescaler:</source>
        <translation>读脉冲预分频：</translation>
    </message>
    <message>
        <source>Read Reset Date(DD:HH):</source>
        <translation>读结算日(DD:HH)：</translation>
    </message>
    <message>
        <source>Read Relay Status:</source>
        <translation>读继电器状态：</translation>
    </message>
    <message>
        <source>read show mode:</source>
        <translation>读显示方式：</translation>
    </message>
    <message>
        <source>Read Press Key Show Mode:</source>
        <translation>读按键显示方式：</translation>
    </message>
    <message>
        <source>--show current</source>
        <translation>--显示电流</translation>
    </message>
    <message>
        <source>--show voltage</source>
        <translation>--显示电压</translation>
    </message>
    <message>
        <source>--show reactive energy</source>
        <translation>--显示无功电量</translation>
    </message>
    <message>
        <source>--show active energy</source>
        <translation>--显示有功电量</translation>
    </message>
    <message>
        <source>--show power factor</source>
        <translation>--显示功率因数</translation>
    </message>
    <message>
        <source>--show total energy</source>
        <translation>--显示总电量</translation>
    </message>
    <message>
        <source>--show import energy</source>
        <translation>--显示正向电量</translation>
    </message>
    <message>
        <source>--show export energy</source>
        <translation>--显示反向电量</translation>
    </message>
    <message>
        <source>Read Version:</source>
        <translation>读版本：</translation>
    </message>
    <message>
        <source>read active power:</source>
        <translation>读有功功率：</translation>
    </message>
    <message>
        <source>read reactive power:</source>
        <translation>读无功功率：</translation>
    </message>
    <message>
        <source>read power factor:</source>
        <translation>读功率因数：</translation>
    </message>
    <message>
        <source>read total power factor:</source>
        <translation>读总功率因数：</translation>
    </message>
    <message>
        <source>read A phase power factor:</source>
        <translation>读A相功率因数：</translation>
    </message>
    <message>
        <source>read B phase power factor:</source>
        <translation>读B相功率因数：</translation>
    </message>
    <message>
        <source>read C phase power factor:</source>
        <translation>读C相功率因数：</translation>
    </message>
    <message>
        <source>read voltage:</source>
        <translation>读电压：</translation>
    </message>
    <message>
        <source>read current:</source>
        <translation>读电流：</translation>
    </message>
    <message>
        <source>read frequecy:</source>
        <translation>读频率：</translation>
    </message>
    <message>
        <source>读 所有变量:</source>
        <translation>读所有变量：</translation>
    </message>
    <message>
        <source>Read Reactive K:</source>
        <translation>读无功 K：</translation>
    </message>
    <message>
        <source>Read Pre Reactive k:</source>
        <translation>读上月无功 k：</translation>
    </message>
    <message>
        <source>Read PP Reactive k:</source>
        <translation>读上上月无功 k：</translation>
    </message>
    <message>
        <source>Read current Save Energy:</source>
        <translation>读当前冻结电量：</translation>
    </message>
    <message>
        <source>Before Modify:</source>
        <translation>修改前：</translation>
    </message>
    <message>
        <source>After Modify:</source>
        <translation>修改后：</translation>
    </message>
    <message>
        <source>R L3 Three Phase Meter No-Voltage Event:</source>
        <translation>读上3次三相表失压事件：</translation>
    </message>
    <message>
        <source>R Reserve Times and Energy:</source>
        <translation>读预留次数及电量：</translation>
    </message>
    <message>
        <source>R Meter ID:</source>
        <translation>读表号：</translation>
    </message>
    <message>
        <source>Read Owing Current and Owing Time:</source>
        <translation>读欠费电流及欠费时间：</translation>
    </message>
    <message>
        <source>Read No-load Current and No-load Time:</source>
        <translation>读空载电流及空载时间：</translation>
    </message>
    <message>
        <source>Read Password Priority:</source>
        <translation>读密码权限：</translation>
    </message>
    <message>
        <source>Forbid</source>
        <translation>禁止</translation>
    </message>
    <message>
        <source>Permit</source>
        <translation>允许</translation>
    </message>
    <message>
        <source>读欠费时间:</source>
        <translation>读欠费时间：</translation>
    </message>
    <message>
        <source>R Tarrif Price:</source>
        <translation>读费率电价：</translation>
    </message>
    <message>
        <source>读密码表1:</source>
        <translation>读密码表1：</translation>
    </message>
    <message>
        <source>读密码表2:</source>
        <translation>读密码表2：</translation>
    </message>
    <message>
        <source>Read Trim Value:</source>
        <translation>读微调值：</translation>
    </message>
    <message>
        <source>Read EEPRPM:</source>
        <translation>读EEPROM：</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>OK!</source>
        <translation>成功！</translation>
    </message>
    <message>
        <source>Write Time:</source>
        <translation>写时间：</translation>
    </message>
    <message>
        <source>Write address</source>
        <translation>写地址</translation>
    </message>
    <message>
        <source>write baudrate:</source>
        <translation>写波特率：</translation>
    </message>
    <message>
        <source>Write Constant:</source>
        <translation>写电表常数：</translation>
    </message>
    <message>
        <source>Write Carrier Module Address:</source>
        <translation>写载波模块地址：</translation>
    </message>
    <message>
        <source>Write Trim Value:</source>
        <translation>写微调值：</translation>
    </message>
    <message>
        <source>Write Pulse Prescaler:</source>
        <translation>写脉冲预分频：</translation>
    </message>
    <message>
        <source>Write Reset Date:</source>
        <translation>写结算日：</translation>
    </message>
    <message>
        <source>W Relay Status:</source>
        <translation>写继电器状态：</translation>
    </message>
    <message>
        <source>Control Owing:</source>
        <translation>控制欠费：</translation>
    </message>
    <message>
        <source>Write vnormal,vhigh,vlow:</source>
        <translation>写额定电压、电压上限、电压下限：</translation>
    </message>
    <message>
        <source>Write inormal,ihigh,ilow:</source>
        <translation>写额定电流、电流上限、电流下限：</translation>
    </message>
    <message>
        <source>Write Owing Current and Time:</source>
        <translation>写欠费电流及欠费时间：</translation>
    </message>
    <message>
        <source>写欠费功率:</source>
        <translation>写欠费功率：</translation>
    </message>
    <message>
        <source>写表类型:</source>
        <translation>写表类型：</translation>
    </message>
    <message>
        <source>写欠费时间:</source>
        <translation>写欠费时间：</translation>
    </message>
    <message>
        <source>写多费率价格表:</source>
        <translation>写多费率价格表：</translation>
    </message>
    <message>
        <source>write show mode:</source>
        <translation>写显示方式：</translation>
    </message>
    <message>
        <source>Write Key Show Mode:</source>
        <translation>写按键显示方式：</translation>
    </message>
    <message>
        <source>Write Tarif1:</source>
        <translation>写日时段表1：</translation>
    </message>
    <message>
        <source>Write Tarif2:</source>
        <translation>写日时段表2：</translation>
    </message>
    <message>
        <source>Write Year Tarif:</source>
        <translation>写年时区表：</translation>
    </message>
    <message>
        <source>Initial:</source>
        <translation>初始化：</translation>
    </message>
    <message>
        <source>Change Password</source>
        <translation>修改密码</translation>
    </message>
    <message>
        <source>W Priority</source>
        <translation>写权限</translation>
    </message>
    <message>
        <source>Clear History:</source>
        <translation>清事件记录：</translation>
    </message>
    <message>
        <source>Clear Energy:</source>
        <translation>清电量：</translation>
    </message>
    <message>
        <source>写密码表:</source>
        <translation>写密码表：</translation>
    </message>
    <message>
        <source>W Money:</source>
        <translation>写金额：</translation>
    </message>
    <message>
        <source>Write Priority:</source>
        <translation>写权限：</translation>
    </message>
    <message>
        <source>Protection flag:</source>
        <translation>保护标志：</translation>
    </message>
    <message>
        <source>Prescaler:</source>
        <translation>预分频：</translation>
    </message>
    <message>
        <source>pulse width:</source>
        <translation>脉冲宽度：</translation>
    </message>
    <message>
        <source>times:</source>
        <translation>次数：</translation>
    </message>
    <message>
        <source>time:</source>
        <translation>时间：</translation>
    </message>
    <message>
        <source>date:</source>
        <translation>日期：</translation>
    </message>
    <message>
        <source>status:</source>
        <translation>状态：</translation>
    </message>
    <message>
        <source>Soft:</source>
        <translation>软件版本：</translation>
    </message>
    <message>
        <source>Hard:</source>
        <translation>硬件版本：</translation>
    </message>
    <message>
        <source>Cmderr:</source>
        <translation>命令错误：</translation>
    </message>
</context>
<context>
    <name>mrv::MeterTestStation</name>
    <message>
        <source>MeterID</source>
        <translation>表号</translation>
    </message>
    <message>
        <source>Energy</source>
        <translation>电量</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>Priority</source>
        <translation>保护及预分频</translation>
    </message>
    <message>
        <source>E total: please enter the whole kWh, a number from 0 to 999999.</source>
        <translation>总电量：请输入整千瓦时数，0 到 999999 之间。</translation>
    </message>
    <message>
        <source>E total: please enter one or two digits after the point.</source>
        <translation>总电量：小数点后请输入一位或两位数字。</translation>
    </message>
    <message>
        <source>Diff(0.01kWh): please enter a number from 0 to 999999.</source>
        <translation>误差(0.01kWh)：请输入 0 到 999999 之间的数。</translation>
    </message>
    <message>
        <source>Protect</source>
        <translation>保护</translation>
    </message>
    <message>
        <source>Prescaler</source>
        <translation>预分频</translation>
    </message>
    <message>
        <source>Pulse Width</source>
        <translation>脉冲宽度</translation>
    </message>
    <message>
        <source>Fail</source>
        <translation>不合格</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>合格</translation>
    </message>
    <message>
        <source>Comm error</source>
        <translation>通讯错误</translation>
    </message>
    <message>
        <source>Comm Err</source>
        <translation>通讯错误</translation>
    </message>
    <message>
        <source>Addr err</source>
        <translation>地址错误</translation>
    </message>
    <message>
        <source>Wait</source>
        <translation>等待</translation>
    </message>
    <message>
        <source>Constant</source>
        <translation>电表常数</translation>
    </message>
</context>
</TS>
