'use strict';
// The BACnet/IP transport of both judge scripts: one UDP socket on 127.0.0.1,
// on the port given or, for 0, on one the system picks. The stack's own
// transport takes 0 for its default port 47808 and binds every interface;
// the judges never leave loopback and never take a port another test may use.
const Transport = require('@bacnet-js/client/dist/lib/transport').default;

class Loopback_Transport extends Transport {
  constructor(port) {
    super({ port, interface: '127.0.0.1', broadcastAddress: '127.255.255.255', reuseAddr: false });
    this.wanted_port = port;
  }

  open() {
    this._server.bind(this.wanted_port, '127.0.0.1');
  }

  // Resolves with the bound port once the socket listens, rejects when the bind fails.
  static Listening(transport) {
    return new Promise((resolve, reject) => {
      if (transport.ownAddress.port) {
        resolve(transport.ownAddress.port);
        return;
      }
      transport.once('listening', (address) => resolve(address.port));
      transport.once('error', reject);
    });
  }
}

module.exports = { Loopback_Transport };
