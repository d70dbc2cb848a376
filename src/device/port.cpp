#include "port.h"

Port::Port() = default;

QByteArray Port::sendRequest(quint32, int, int) { return {}; }
bool Port::checkResponse(const QByteArray &) { return true; }
int Port::getBlocksAmount() { return -1; }
QByteArray Port::getBlockName(unsigned) { return {}; }
int Port::getBlockSize(unsigned) { return -1; }
QVector<float> Port::getBlockData(unsigned) { return {}; }
void Port::checkIfPortIsValidForDataExchange(QString) {}
void Port::checkIfValidPortDisconnected(QSerialPort::SerialPortError) {}
void Port::serialReciever() {}
