#pragma once
// Qt's own command-line options (-platform NAME, -style NAME, -reverse...), declared to
// the program's parser so it accepts them and knows which take a value; QApplication,
// which gets the whole command line, acts on them. They are left out of the help's list.
class QCommandLineParser;

void addToolkitOptions(QCommandLineParser& parser);
