// An S3-compatible server for the publishing tests: s3rver, with one
// bucket and one access key, listening on a loopback port. s3rver checks
// only the key id of a Signature Version 4 request, so every request is
// first checked here: its signature is computed anew with the AWS SDK's
// signer from the headers it names and must be the one it carries.
// Usage: node s3-server.js MODULES PORT FOLDER BUCKET KEY-ID SECRET
'use strict';

const [modules, port, folder, bucket, keyId, secret] = process.argv.slice(2);
const S3rver = require(`${modules}/s3rver`);
const Account = require(`${modules}/s3rver/lib/models/account`);
const { SignatureV4 } = require(`${modules}/@smithy/signature-v4`);
const { Sha256 } = require(`${modules}/@aws-crypto/sha256-js`);

const kAuthorization =
  /^AWS4-HMAC-SHA256 Credential=([^/]+)\/(\d{8})\/([^/]+)\/s3\/aws4_request, ?SignedHeaders=([^,]+), ?Signature=([0-9a-f]{64})$/;

function refuse(ctx, code, message) {
  ctx.status = 403;
  ctx.type = 'application/xml';
  ctx.body = `<?xml version="1.0" encoding="UTF-8"?>\n<Error><Code>${code}</Code><Message>${message}</Message></Error>`;
}

async function checkSignature(ctx, next) {
  const match = kAuthorization.exec(ctx.get('authorization'));
  if (!match) return refuse(ctx, 'AccessDenied', 'a Signature Version 4 request is needed');
  const [, requestKeyId, day, region, signedHeaders, signature] = match;
  if (requestKeyId !== keyId) return refuse(ctx, 'InvalidAccessKeyId', 'unknown access key');
  const amzDate = ctx.get('x-amz-date');
  if (!amzDate.startsWith(day)) return refuse(ctx, 'SignatureDoesNotMatch', 'the date differs');
  const headers = {};
  for (const name of signedHeaders.split(';')) headers[name] = ctx.req.headers[name] || '';
  const url = new URL(ctx.req.url, 'http://unused');
  const query = {};
  for (const [name, value] of url.searchParams) query[name] = value;
  const signer = new SignatureV4({
    credentials: { accessKeyId: keyId, secretAccessKey: secret },
    region,
    service: 's3',
    sha256: Sha256,
    uriEscapePath: false,
    applyChecksum: false,
  });
  const signingDate = new Date(
    amzDate.replace(/^(\d{4})(\d\d)(\d\d)T(\d\d)(\d\d)(\d\d)Z$/, '$1-$2-$3T$4:$5:$6Z'),
  );
  const signed = await signer.sign(
    { method: ctx.method, protocol: 'http:', hostname: ctx.hostname, path: url.pathname, query, headers },
    { signingDate, signingRegion: region, signableHeaders: new Set(Object.keys(headers)) },
  );
  const expected = /Signature=([0-9a-f]{64})/.exec(signed.headers.authorization)[1];
  if (expected !== signature) return refuse(ctx, 'SignatureDoesNotMatch', 'the signature does not match');
  return next();
}

Account.DUMMY_ACCOUNT.createKeyPair(keyId, secret);
const server = new S3rver({
  port: Number(port),
  address: '127.0.0.1',
  directory: folder,
  silent: true,
  serviceEndpoint: 'localhost',
  configureBuckets: [{ name: bucket }],
});
// Before every middleware of s3rver's own.
server.middleware.unshift(checkSignature);
server.run().then(() => console.log(`ready ${port}`));
