'use strict';
// A reference BACnet/IP device served by an independent stack, on loopback.
//
//   node serve_device.js [--port P] [--config FILE.json]
//
// It serves a device object and a few analog, binary and multi-state objects
// (below). FILE.json changes them: "device" replaces fields of the device
// (instance, name, vendor_id, vendor_name, model_name), "objects" replaces
// the object list, "add_objects" adds to it. An object is
//   { "type": "analog-input" (or its number), "instance": 0, "name": "Room",
//     "units": 62, "value": 21.5, "writable": false, "states": 3 }
// where units apply to the analog and integer types, states to the
// multi-state types, and writable defaults to true for outputs and values.
//
// It prints "serving 127.0.0.1:PORT" first, then one line per request. A
// SIGTERM or SIGINT ends it with exit code 0.
const fs = require('fs');
const Bacnet = require('@bacnet-js/client');
const { Loopback_Transport } = require('./loopback_transport');
const types = require('./object_types');

const { ObjectType: OT, PropertyIdentifier: P, ApplicationTag: T, ErrorClass, ErrorCode } = Bacnet;
const Service = Bacnet.ConfirmedServiceChoice;

function Fail(text) {
  process.stderr.write(`serve_device: ${text}\n`);
  process.exit(2);
}

function Parse_Args(argv) {
  const args = { port: 0, config: null };
  for (let i = 0; i < argv.length; ++i) {
    const next = () => (i + 1 < argv.length ? argv[++i] : Fail(`${argv[i]} needs a value`));
    if (argv[i] === '--port') args.port = Number(next());
    else if (argv[i] === '--config') args.config = next();
    else Fail(`unknown argument ${argv[i]}`);
  }
  if (!Number.isInteger(args.port) || args.port < 0 || args.port > 65535) Fail('--port takes 0 to 65535');
  return args;
}

const Default_Device = {
  instance: 4194,
  name: 'judge-reference',
  vendor_id: 555,
  vendor_name: 'sw52k31 tests',
  model_name: 'reference device',
};

const Default_Objects = [
  { type: 'analog-input', instance: 0, name: 'Room Temperature', units: 62, value: 21.5 },
  { type: 'analog-input', instance: 1, name: 'Humidity', units: 98, value: 40 },
  { type: 'analog-output', instance: 0, name: 'Valve', units: 98, value: 0 },
  { type: 'analog-value', instance: 0, name: 'Setpoint', units: 62, value: 20 },
  { type: 'binary-input', instance: 0, name: 'Door', value: 0 },
  { type: 'binary-value', instance: 0, name: 'Fan', value: 1 },
  { type: 'multi-state-input', instance: 0, name: 'Mode', value: 1, states: 3 },
  { type: 'multi-state-value', instance: 0, name: 'Season', value: 2, states: 4 },
];

function Load_Configuration(file) {
  let device = { ...Default_Device };
  let objects = Default_Objects.map((o) => ({ ...o }));
  if (file) {
    let config;
    try {
      config = JSON.parse(fs.readFileSync(file, 'utf8'));
    } catch (e) {
      Fail(`cannot read ${file}: ${e.message}`);
    }
    device = { ...device, ...(config.device || {}) };
    if (config.objects) objects = config.objects;
    objects = objects.concat(config.add_objects || []);
  }
  const served = objects.map((o) => {
    const type = types.Type_Code(o.type);
    if (type === undefined || !types.Value_Tag(type)) Fail(`object type ${o.type} is not served`);
    return {
      id: { type, instance: o.instance },
      name: o.name,
      units: o.units === undefined ? 95 : o.units,
      value: o.value === undefined ? 0 : o.value,
      states: o.states || 2,
      writable: o.writable === undefined ? types.Writable_By_Default(type) : o.writable,
      subscribers: [],
    };
  });
  return { device, objects: served };
}

const args = Parse_Args(process.argv.slice(2));
const { device, objects } = Load_Configuration(args.config);
const device_id = { type: OT.DEVICE, instance: device.instance };

function Find_Object(id) {
  return objects.find((o) => o.id.type === id.type && o.id.instance === id.instance);
}

function App(type, value) {
  return { type, value };
}

function Object_List() {
  return [device_id, ...objects.map((o) => o.id)].map((id) => App(T.OBJECTIDENTIFIER, id));
}

// Every property of the device, as the application values it reads as.
function Device_Properties() {
  const all_types = objects.map((o) => o.id.type).concat([OT.DEVICE]);
  const services = [
    Service.READ_PROPERTY,
    Service.READ_PROPERTY_MULTIPLE,
    Service.WRITE_PROPERTY,
    Service.SUBSCRIBE_COV,
  ].concat([26 + Bacnet.UnconfirmedServiceChoice.WHO_IS]); // unconfirmed services follow from bit 26
  return new Map([
    [P.OBJECT_IDENTIFIER, [App(T.OBJECTIDENTIFIER, device_id)]],
    [P.OBJECT_NAME, [App(T.CHARACTER_STRING, device.name)]],
    [P.OBJECT_TYPE, [App(T.ENUMERATED, OT.DEVICE)]],
    [P.SYSTEM_STATUS, [App(T.ENUMERATED, 0)]],
    [P.VENDOR_NAME, [App(T.CHARACTER_STRING, device.vendor_name)]],
    [P.VENDOR_IDENTIFIER, [App(T.UNSIGNED_INTEGER, device.vendor_id)]],
    [P.MODEL_NAME, [App(T.CHARACTER_STRING, device.model_name)]],
    [P.FIRMWARE_REVISION, [App(T.CHARACTER_STRING, '1.0')]],
    [P.APPLICATION_SOFTWARE_VERSION, [App(T.CHARACTER_STRING, '1.0')]],
    [P.PROTOCOL_VERSION, [App(T.UNSIGNED_INTEGER, 1)]],
    [P.PROTOCOL_REVISION, [App(T.UNSIGNED_INTEGER, 14)]],
    [P.PROTOCOL_SERVICES_SUPPORTED, [App(T.BIT_STRING, types.Bit_String(41, services))]],
    [P.PROTOCOL_OBJECT_TYPES_SUPPORTED, [App(T.BIT_STRING, types.Bit_String(64, all_types))]],
    [P.OBJECT_LIST, Object_List()],
    [P.MAX_APDU_LENGTH_ACCEPTED, [App(T.UNSIGNED_INTEGER, 1476)]],
    [P.SEGMENTATION_SUPPORTED, [App(T.ENUMERATED, Bacnet.Segmentation.NO_SEGMENTATION)]],
    [P.APDU_TIMEOUT, [App(T.UNSIGNED_INTEGER, 3000)]],
    [P.NUMBER_OF_APDU_RETRIES, [App(T.UNSIGNED_INTEGER, 3)]],
    [P.DEVICE_ADDRESS_BINDING, []],
    [P.DATABASE_REVISION, [App(T.UNSIGNED_INTEGER, 1)]],
  ]);
}

function Status_Flags() {
  return App(T.BIT_STRING, types.Bit_String(4, []));
}

function Present_Value(o) {
  return App(types.Value_Tag(o.id.type), o.value);
}

function Object_Properties(o) {
  const type = o.id.type;
  const props = new Map([
    [P.OBJECT_IDENTIFIER, [App(T.OBJECTIDENTIFIER, o.id)]],
    [P.OBJECT_NAME, [App(T.CHARACTER_STRING, o.name)]],
    [P.OBJECT_TYPE, [App(T.ENUMERATED, type)]],
    [P.PRESENT_VALUE, [Present_Value(o)]],
    [P.STATUS_FLAGS, [Status_Flags()]],
    [P.EVENT_STATE, [App(T.ENUMERATED, 0)]],
    [P.OUT_OF_SERVICE, [App(T.BOOLEAN, false)]],
  ]);
  if (types.Has_Units(type)) props.set(P.UNITS, [App(T.ENUMERATED, o.units)]);
  if (types.Is_Multi_State(type)) props.set(P.NUMBER_OF_STATES, [App(T.UNSIGNED_INTEGER, o.states)]);
  if (type === OT.BINARY_INPUT || type === OT.BINARY_OUTPUT) props.set(P.POLARITY, [App(T.ENUMERATED, 0)]);
  if (types.Is_Commandable(type)) {
    props.set(P.PRIORITY_ARRAY, Array.from({ length: 16 }, (_, i) => (i === 15 ? Present_Value(o) : App(T.NULL, null))));
    props.set(P.RELINQUISH_DEFAULT, [App(types.Value_Tag(type), 0)]);
  }
  return props;
}

function Properties_Of(id) {
  if (id.type === OT.DEVICE && (id.instance === device.instance || id.instance === 4194303)) return Device_Properties();
  const o = Find_Object(id);
  return o ? Object_Properties(o) : null;
}

function Error_Value(error_class, error_code) {
  return [{ value: { type: 'BacnetError', errorClass: error_class, errorCode: error_code } }];
}

function Log(line) {
  process.stdout.write(`${line}\n`);
}

const transport = new Loopback_Transport(args.port);
const client = new Bacnet.default({ transport, apduTimeout: 3000 });
client.on('error', (e) => Fail(e.message));

client.on('whoIs', (content) => {
  const { lowLimit, highLimit } = content.payload;
  Log(`who-is from ${content.header.sender.address}`);
  if (lowLimit !== undefined && (device.instance < lowLimit || device.instance > highLimit)) return;
  client.iAmResponse(content.header.sender, device.instance, Bacnet.Segmentation.NO_SEGMENTATION, device.vendor_id);
});

client.on('readProperty', (content) => {
  const { objectId, property } = content.payload;
  const sender = content.header.sender;
  Log(`read-property ${objectId.type}:${objectId.instance} ${property.id}`);
  const props = Properties_Of(objectId);
  const fail = (c, e) => client.errorResponse(sender, Service.READ_PROPERTY, content.invokeId, c, e);
  if (!props) return fail(ErrorClass.OBJECT, ErrorCode.UNKNOWN_OBJECT);
  const values = props.get(property.id);
  if (!values) return fail(ErrorClass.PROPERTY, ErrorCode.UNKNOWN_PROPERTY);
  let answer = values;
  if (property.index !== Bacnet.ASN1_ARRAY_ALL) {
    if (property.id !== P.OBJECT_LIST && property.id !== P.PRIORITY_ARRAY)
      return fail(ErrorClass.PROPERTY, ErrorCode.PROPERTY_IS_NOT_AN_ARRAY);
    if (property.index === 0) answer = [App(T.UNSIGNED_INTEGER, values.length)];
    else if (property.index <= values.length) answer = [values[property.index - 1]];
    else return fail(ErrorClass.PROPERTY, ErrorCode.INVALID_ARRAY_INDEX);
  }
  client.readPropertyResponse(sender, content.invokeId, objectId, property, answer);
});

client.on('readPropertyMultiple', (content) => {
  const sender = content.header.sender;
  Log(`read-property-multiple ${content.payload.properties.length} objects`);
  const results = content.payload.properties.map(({ objectId, properties }) => {
    const props = Properties_Of(objectId);
    const id = objectId.type === OT.DEVICE ? device_id : objectId;
    if (!props)
      return {
        objectId,
        values: properties.map((p) => ({ property: p, value: Error_Value(ErrorClass.OBJECT, ErrorCode.UNKNOWN_OBJECT) })),
      };
    const values = [];
    for (const p of properties) {
      if (p.id === P.ALL || p.id === P.REQUIRED || p.id === P.OPTIONAL) {
        for (const [pid, value] of props) values.push({ property: { id: pid, index: Bacnet.ASN1_ARRAY_ALL }, value });
      } else if (props.has(p.id)) {
        values.push({ property: p, value: props.get(p.id) });
      } else {
        values.push({ property: p, value: Error_Value(ErrorClass.PROPERTY, ErrorCode.UNKNOWN_PROPERTY) });
      }
    }
    return { objectId: id, values };
  });
  client.readPropertyMultipleResponse(sender, content.invokeId, results);
});

function Notify(o, subscriber) {
  client.unconfirmedCOVNotification(
    subscriber.address,
    subscriber.process_id,
    device.instance,
    o.id,
    Math.max(0, Math.round((subscriber.until - Date.now()) / 1000)),
    [
      { property: { id: P.PRESENT_VALUE }, value: [Present_Value(o)] },
      { property: { id: P.STATUS_FLAGS }, value: [Status_Flags()] },
    ],
  );
}

client.on('writeProperty', (content) => {
  const { objectId, value } = content.payload;
  const sender = content.header.sender;
  Log(`write-property ${objectId.type}:${objectId.instance} ${value.property.id}`);
  const fail = (c, e) => client.errorResponse(sender, Service.WRITE_PROPERTY, content.invokeId, c, e);
  const o = Find_Object(objectId);
  if (!o) return fail(ErrorClass.OBJECT, ErrorCode.UNKNOWN_OBJECT);
  if (value.property.id !== P.PRESENT_VALUE || !o.writable) return fail(ErrorClass.PROPERTY, ErrorCode.WRITE_ACCESS_DENIED);
  const written = value.value[0];
  if (!written || written.type !== types.Value_Tag(o.id.type)) return fail(ErrorClass.PROPERTY, ErrorCode.INVALID_DATA_TYPE);
  const changed = written.value !== o.value;
  o.value = written.value;
  client.simpleAckResponse(sender, Service.WRITE_PROPERTY, content.invokeId);
  if (changed) for (const s of o.subscribers) Notify(o, s);
});

client.on('subscribeCov', (content) => {
  const { monitoredObjectId, subscriberProcessId, cancellationRequest, issueConfirmedNotifications, lifetime } =
    content.payload;
  const sender = content.header.sender;
  Log(`subscribe-cov ${monitoredObjectId.type}:${monitoredObjectId.instance}${cancellationRequest ? ' cancel' : ''}`);
  const fail = (c, e) => client.errorResponse(sender, Service.SUBSCRIBE_COV, content.invokeId, c, e);
  const o = Find_Object(monitoredObjectId);
  if (!o) return fail(ErrorClass.OBJECT, ErrorCode.UNKNOWN_OBJECT);
  o.subscribers = o.subscribers.filter(
    (s) => !(s.address.address === sender.address && s.process_id === subscriberProcessId),
  );
  if (cancellationRequest) return client.simpleAckResponse(sender, Service.SUBSCRIBE_COV, content.invokeId);
  if (issueConfirmedNotifications) return fail(ErrorClass.SERVICES, ErrorCode.SERVICE_REQUEST_DENIED);
  const subscriber = {
    address: { address: sender.address },
    process_id: subscriberProcessId,
    until: Date.now() + (lifetime || 3600) * 1000,
  };
  o.subscribers.push(subscriber);
  client.simpleAckResponse(sender, Service.SUBSCRIBE_COV, content.invokeId);
  // A subscription is answered at once with the current value.
  Notify(o, subscriber);
});

for (const signal of ['SIGTERM', 'SIGINT'])
  process.on(signal, () => {
    client.close();
    process.exit(0);
  });

Loopback_Transport.Listening(transport).then(
  (port) => Log(`serving 127.0.0.1:${port}`),
  (e) => Fail(e.message),
);
