#pragma once
// Each mrvctl command takes the arguments after its name (argv[0] is the command name) and
// returns the process exit status.

int RunOperate(int argc, char** argv);  // meter console
int RunTransact(int argc, char** argv); // one raw request and its reply, in hex
int RunScan(int argc, char** argv);     // find the meters on a line
int RunReadBlock(int argc, char** argv); // read a data file's Block over the line
int RunInitDb(int argc, char** argv);   // create an empty (or demo) database
int RunDownload(int argc, char** argv); // write an HHU download file from a database
int RunShow(int argc, char** argv);     // print a data file
int RunImport(int argc, char** argv);   // import a data file's readings
int RunConvert(int argc, char** argv);  // convert a data file to dBase III
int RunExport(int argc, char** argv);   // readings to a spreadsheet (.xlsx or .csv)
int RunImportAccess(int argc, char** argv); // carry an Access database over into ours
