// What the page says while the converter loads and when a new version of the
// page is ready, in the page's language (the lang of <html>, which changes
// with the user's choice).
const TEXTS = {
  'zh-Hant': { loading: '正在載入轉換器…', newVersion: '新版本已可使用。', reload: '重新載入' },
  'zh-Hans': { loading: '正在加载转换器…', newVersion: '新版本已可使用。', reload: '重新加载' },
  en: { loading: 'Loading the converter…', newVersion: 'A new version is ready.', reload: 'Reload' },
};

function texts() {
  const lang = document.documentElement.lang.toLowerCase();
  if (/^zh-(hant|hk|mo|tw)/.test(lang)) return TEXTS['zh-Hant'];
  return lang.startsWith('zh') ? TEXTS['zh-Hans'] : TEXTS.en;
}

// Runs `render` now and whenever the page's language changes.
function inPageLanguage(render) {
  render(texts());
  const observer = new MutationObserver(() => render(texts()));
  observer.observe(document.documentElement, { attributes: true, attributeFilter: ['lang'] });
  return () => observer.disconnect();
}

// The empty result says that the converter is still loading; what the user
// types meanwhile stays in the input and converts once it is ready. Returns
// the function that ends the loading state.
export function showLoading(area) {
  area.setAttribute('aria-busy', 'true');
  const stop = inPageLanguage((t) => { area.placeholder = t.loading; });
  return () => {
    stop();
    area.removeAttribute('placeholder');
    area.removeAttribute('aria-busy');
  };
}

function offerReload(worker) {
  if (document.querySelector('.update-notice')) return;
  const notice = document.createElement('div');
  notice.className = 'update-notice';
  notice.setAttribute('role', 'status');
  const text = document.createElement('span');
  const button = document.createElement('button');
  button.type = 'button';
  button.id = 'reload';
  notice.append(text, button);
  inPageLanguage((t) => {
    text.textContent = t.newVersion;
    button.textContent = t.reload;
  });
  button.addEventListener('click', () => {
    button.disabled = true;
    // The waiting version takes over; the page reloads when it has.
    navigator.serviceWorker.addEventListener('controllerchange', () => location.reload());
    worker.postMessage('take-over');
  });
  (document.querySelector('main') ?? document.body).append(notice);
}

// The service worker keeps the page for offline use. A new version installs
// beside the running one and waits; the page offers to reload into it.
export async function watchForUpdates() {
  if (!('serviceWorker' in navigator)) return;
  let registration;
  try {
    registration = await navigator.serviceWorker.register('./sw.js');
  } catch {
    return;  // the page works without it, only not offline
  }
  // A version is new only beside one that controls the page.
  const waiting = (worker) => {
    if (worker && navigator.serviceWorker.controller) offerReload(worker);
  };
  waiting(registration.waiting);
  registration.addEventListener('updatefound', () => {
    const worker = registration.installing;
    worker?.addEventListener('statechange', () => {
      if (worker.state === 'installed') waiting(worker);
    });
  });
  // A page left open (an installed app) looks for a new version when shown again.
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'visible') registration.update().catch(() => {});
  });
}
