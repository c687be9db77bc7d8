'use strict';
// Reads a BACnet/IP device on loopback with an independent stack and prints
// what it read as one JSON document on standard output.
//
//   node judge.js --port P [--address 127.0.0.1] [--write TYPE:INSTANCE=VALUE]
//                 [--cov TYPE:INSTANCE] [--timeout MS]
//
// Steps: a Who-Is sent to the address alone, the I-Am; every property of the
// device (ReadPropertyMultiple ALL); its object list read whole and read by
// index (index 0, then each); every property of each listed object; then,
// when asked, a SubscribeCOV (unconfirmed notifications) with its first
// notification, a WriteProperty of the present value, its read back and the
// notification the change sends, and the subscription's cancellation. TYPE is
// a standard name ("analog-output") or a number.
//
// Any error, reject, abort or time-out ends it with exit code 1 and one line
// on standard error that names the step; bad arguments give exit code 2.
const Bacnet = require('@bacnet-js/client');
const { Loopback_Transport } = require('./loopback_transport');
const types = require('./object_types');

const { ObjectType: OT, PropertyIdentifier: P, ApplicationTag: T } = Bacnet;
const Subscriber_Process = 1880;

function Usage(text) {
  process.stderr.write(`judge: ${text}\n`);
  process.exit(2);
}

function Parse_Object(text) {
  const m = /^([A-Za-z_-]+|\d+):(\d+)$/.exec(text);
  const type = m ? types.Type_Code(m[1]) : undefined;
  if (type === undefined) Usage(`${text} is not TYPE:INSTANCE`);
  return { type, instance: Number(m[2]) };
}

function Parse_Args(argv) {
  const args = { address: '127.0.0.1', port: null, write: null, cov: null, timeout: 5000 };
  for (let i = 0; i < argv.length; ++i) {
    const next = () => (i + 1 < argv.length ? argv[++i] : Usage(`${argv[i]} needs a value`));
    const a = argv[i];
    if (a === '--port') args.port = Number(next());
    else if (a === '--address') args.address = next();
    else if (a === '--timeout') args.timeout = Number(next());
    else if (a === '--cov') args.cov = Parse_Object(next());
    else if (a === '--write') {
      const text = next();
      const at = text.indexOf('=');
      if (at < 0 || !/^-?\d+(\.\d+)?$/.test(text.slice(at + 1))) Usage(`${text} is not TYPE:INSTANCE=NUMBER`);
      args.write = { object: Parse_Object(text.slice(0, at)), value: Number(text.slice(at + 1)) };
    } else Usage(`unknown argument ${a}`);
  }
  if (!Number.isInteger(args.port) || args.port < 1 || args.port > 65535) Usage('--port takes 1 to 65535');
  // Loopback only: the judges send nothing past this machine.
  if (!/^127\.\d+\.\d+\.\d+$/.test(args.address)) Usage('--address must be a loopback address (127.x.x.x)');
  if (!(args.timeout > 0)) Usage('--timeout takes a positive number of milliseconds');
  return args;
}

// "present-value" for 85.
function Property_Name(id) {
  const name = P[id];
  return typeof name === 'string' ? name.toLowerCase().replace(/_/g, '-') : String(id);
}

// One application value as JSON: an object identifier as {type, instance}, a
// bit string as its bits ("0110"), a date or time as ISO text.
function Json_Value(v) {
  if (v === null || v === undefined) return null;
  switch (v.type) {
    case T.OBJECTIDENTIFIER:
      return { type: v.value.type, instance: v.value.instance };
    case T.BIT_STRING: {
      let bits = '';
      for (let i = 0; i < v.value.bitsUsed; ++i) bits += (v.value.value[Math.floor(i / 8)] >> i % 8) & 1 ? '1' : '0';
      return bits;
    }
    case T.DATE:
    case T.TIME:
      return v.value instanceof Date ? v.value.toISOString() : v.value;
    case T.ERROR:
      return { error_class: v.value.errorClass, error_code: v.value.errorCode };
    default:
      return v.value;
  }
}

function Object_Key(id) {
  return `${types.Type_Name(id.type)}:${id.instance}`;
}

function Object_Id(v) {
  if (!v || v.type !== T.OBJECTIDENTIFIER) throw new Error(`an object list element is not an object identifier: ${JSON.stringify(v)}`);
  return { type: v.value.type, instance: v.value.instance };
}

const args = Parse_Args(process.argv.slice(2));
const transport = new Loopback_Transport(0);
const client = new Bacnet.default({ transport, apduTimeout: args.timeout });
const target = { address: `${args.address}:${args.port}` };
const errors = [];
const notifications = [];
const notification_waiters = [];
let step = 'opening the socket';

function Finish(code, text) {
  if (text) process.stderr.write(`judge: ${text}\n`);
  try {
    client.close();
  } catch (e) {
    // already closed
  }
  process.exitCode = code;
  setImmediate(() => process.exit(code));
}

client.on('error', (e) => Finish(1, `${step}: ${e.message}`));

function With_Timeout(promise, what) {
  let timer;
  const limit = new Promise((_, reject) => {
    timer = setTimeout(() => reject(new Error(`no answer within ${args.timeout} ms`)), args.timeout);
  });
  return Promise.race([promise, limit]).finally(() => clearTimeout(timer));
}

async function Step(name, work) {
  step = name;
  return work();
}

function Discover() {
  return new Promise((resolve) => {
    client.on('iAm', (content) => {
      if (content.header.sender.address === target.address) resolve(content.payload);
    });
    client.whoIs(target);
  });
}

client.on('covNotifyUnconfirmed', (content) => {
  const p = content.payload;
  const values = {};
  for (const v of p.values) values[Property_Name(v.property.id)] = v.value.map(Json_Value);
  const n = {
    from: content.header.sender.address,
    subscriber_process: p.subscriberProcessId,
    initiating_device: p.initiatingDeviceId,
    object: { type: p.monitoredObjectId.type, instance: p.monitoredObjectId.instance },
    time_remaining: p.timeRemaining,
    present_value: values['present-value'] ? values['present-value'][0] : null,
    status_flags: values['status-flags'] ? values['status-flags'][0] : null,
    values,
  };
  notifications.push(n);
  for (const w of notification_waiters.splice(0)) w();
});

// Waits until a notification that `accept` takes has come.
async function Wait_Notification(accept) {
  for (;;) {
    const found = notifications.find(accept);
    if (found) return found;
    await With_Timeout(new Promise((resolve) => notification_waiters.push(resolve)), 'a notification');
  }
}

// Every property of one object, read with ReadPropertyMultiple ALL.
async function Read_All(id) {
  const ack = await With_Timeout(
    client.readPropertyMultiple(target, [{ objectId: id, properties: [{ id: P.ALL, index: Bacnet.ASN1_ARRAY_ALL }] }]),
  );
  if (!ack.values || ack.values.length !== 1) throw new Error(`${ack.values ? ack.values.length : 0} results for one object`);
  const result = ack.values[0];
  const properties = {};
  for (const v of result.values) {
    const name = Property_Name(v.id);
    const values = v.value.map(Json_Value);
    const error = v.value.find((x) => x.type === T.ERROR);
    if (error) errors.push({ object: Object_Key(id), property: name, ...Json_Value(error) });
    properties[name] = values;
  }
  return { id: { type: result.objectId.type, instance: result.objectId.instance }, properties };
}

function Single(properties, name) {
  const v = properties[name];
  return v && v.length === 1 ? v[0] : null;
}

async function Read_Present_Value(id) {
  const ack = await With_Timeout(client.readProperty(target, id, P.PRESENT_VALUE));
  return Json_Value(ack.values[0]);
}

// The value as the object type's present value takes it (REAL for analog, ...).
function Typed_Value(id, value) {
  const tag = types.Value_Tag(id.type);
  if (tag === undefined) throw new Error(`no known present value type for ${Object_Key(id)}`);
  return { type: tag, value };
}

function Same_Value(read, written, id) {
  if (typeof read !== 'number') return false;
  return types.Value_Tag(id.type) === T.REAL ? Math.fround(written) === Math.fround(read) : read === written;
}

async function Main() {
  await Step('opening the socket', () => Loopback_Transport.Listening(transport));
  const i_am = await Step('Who-Is', () => With_Timeout(Discover()));
  const device_id = { type: OT.DEVICE, instance: i_am.deviceId };
  const device = await Step('reading the device (ReadPropertyMultiple ALL)', () => Read_All(device_id));

  const whole = await Step('reading the object list whole', () =>
    With_Timeout(client.readProperty(target, device_id, P.OBJECT_LIST)),
  );
  const object_list = whole.values.map(Object_Id);

  const count_ack = await Step('reading the object list index 0', () =>
    With_Timeout(client.readProperty(target, device_id, P.OBJECT_LIST, { arrayIndex: 0 })),
  );
  const count = Json_Value(count_ack.values[0]);
  if (!Number.isInteger(count)) throw new Error(`object list index 0 is not a count: ${JSON.stringify(count)}`);
  const by_index = [];
  for (let i = 1; i <= count; ++i) {
    const ack = await Step(`reading the object list index ${i}`, () =>
      With_Timeout(client.readProperty(target, device_id, P.OBJECT_LIST, { arrayIndex: i })),
    );
    if (ack.values.length !== 1) throw new Error(`index ${i} gave ${ack.values.length} values`);
    by_index.push(Object_Id(ack.values[0]));
  }

  const objects = [];
  for (const id of object_list) {
    if (id.type === OT.DEVICE) continue;
    const read = await Step(`reading ${Object_Key(id)} (ReadPropertyMultiple ALL)`, () => Read_All(id));
    objects.push({
      type: read.id.type,
      type_name: types.Type_Name(read.id.type),
      instance: read.id.instance,
      name: Single(read.properties, 'object-name'),
      units: Single(read.properties, 'units'),
      present_value: Single(read.properties, 'present-value'),
      properties: read.properties,
    });
  }

  let cov = null;
  const cov_object = args.cov || (args.write && args.write.object);
  if (cov_object) {
    await Step(`SubscribeCOV to ${Object_Key(cov_object)}`, () =>
      With_Timeout(client.subscribeCov(target, cov_object, Subscriber_Process, false, false, 300)),
    );
    const same = (n) =>
      n.subscriber_process === Subscriber_Process &&
      n.object.type === cov_object.type &&
      n.object.instance === cov_object.instance;
    const first = await Step(`waiting for the notification of ${Object_Key(cov_object)}`, () =>
      Wait_Notification(same),
    );
    cov = { object: cov_object, first, change: null, notifications };
  }

  let write = null;
  if (args.write) {
    const { object, value } = args.write;
    const before = await Step(`reading the present value of ${Object_Key(object)}`, () => Read_Present_Value(object));
    await Step(`writing ${value} to ${Object_Key(object)}`, () =>
      With_Timeout(client.writeProperty(target, object, P.PRESENT_VALUE, [Typed_Value(object, value)], {})),
    );
    const read_back = await Step(`reading ${Object_Key(object)} back`, () => Read_Present_Value(object));
    write = { object, value, before, read_back, landed: Same_Value(read_back, value, object) };
    if (cov && cov.object.type === object.type && cov.object.instance === object.instance && !Same_Value(before, value, object)) {
      cov.change = await Step(`waiting for the change notification of ${Object_Key(object)}`, () =>
        Wait_Notification((n) => n !== cov.first && Same_Value(n.present_value, value, object)),
      );
    }
  }

  if (cov) {
    await Step(`cancelling the subscription to ${Object_Key(cov.object)}`, () =>
      With_Timeout(client.subscribeCov(target, cov.object, Subscriber_Process, true, false, 0)),
    );
  }

  const report = {
    address: target.address,
    i_am: {
      device: i_am.deviceId,
      max_apdu: i_am.maxApdu,
      segmentation: i_am.segmentation,
      vendor_id: i_am.vendorId,
    },
    device: {
      instance: device.id.instance,
      name: Single(device.properties, 'object-name'),
      properties: device.properties,
    },
    object_list,
    object_list_by_index: by_index,
    objects,
    write,
    cov,
    errors,
  };
  process.stdout.write(`${JSON.stringify(report, null, 1)}\n`);
}

Main().then(
  () => Finish(0),
  (e) => Finish(1, `${step}: ${e.message}`),
);
