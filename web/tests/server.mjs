// A static file server on 127.0.0.1 for the page under test. close() cuts it
// off at once, open connections included, as a lost network would.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { gzipSync } from 'node:zlib';
import { extname, join, normalize } from 'node:path';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.svg': 'image/svg+xml',
  '.webmanifest': 'application/manifest+json',
};

// `headers` go with every file (a Cache-Control, say). With `compress`, files
// go gzipped to a browser that accepts it, as static hosts send them.
export async function serve(root, { headers = {}, compress = false } = {}) {
  const sockets = new Set();
  const requests = [];
  const server = createServer(async (req, res) => {
    const path = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    requests.push(path);
    const file = normalize(join(root, path.endsWith('/') ? path + 'index.html' : path));
    if (!file.startsWith(normalize(root))) {
      res.writeHead(403).end();
      return;
    }
    try {
      let body = await readFile(file);
      const type = { 'Content-Type': TYPES[extname(file)] ?? 'application/octet-stream', ...headers };
      if (compress && /\bgzip\b/.test(req.headers['accept-encoding'] ?? '')) {
        body = gzipSync(body);
        type['Content-Encoding'] = 'gzip';
      }
      res.writeHead(200, type);
      res.end(body);
    } catch {
      res.writeHead(404).end();
    }
  });
  server.on('connection', (s) => {
    sockets.add(s);
    s.on('close', () => sockets.delete(s));
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const { port } = server.address();
  return {
    url: `http://127.0.0.1:${port}/`,
    requests,
    close: () =>
      new Promise((resolve) => {
        server.close(resolve);
        for (const s of sockets) s.destroy();
      }),
  };
}
